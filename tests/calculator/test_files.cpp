#include "test_files.h"

#include <cstdio>

#include <gtest/gtest.h>

std::string WriteScratchFile(const std::string& strText, const char* pszSuffix) {
    const testing::TestInfo* pInfo = testing::UnitTest::GetInstance()->current_test_info();
    const std::string strPath = testing::TempDir() + "norvane_" + pInfo->test_suite_name() + "_" + pInfo->name() +
                          pszSuffix + ".txt";
    std::FILE* pFile = std::fopen(strPath.c_str(), "wb");  // bytes exactly as given
    EXPECT_NE(pFile, nullptr) << strPath;
    if (pFile != nullptr) {
        EXPECT_EQ(std::fwrite(strText.data(), 1, strText.size(), pFile), strText.size());
        std::fclose(pFile);
    }
    return strPath;
}

std::string MissingFilePath() { return testing::TempDir() + "norvane_no_such_file.txt"; }
