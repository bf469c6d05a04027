#include "ProgramPath.h"

#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

std::string ProgramFile() {
    std::vector<char> buffer(260);
    for (;;) {
#ifdef _WIN32
        const DWORD uLength = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (uLength == 0) return std::string();
        if (uLength < buffer.size()) return std::string(buffer.data(), uLength);
#else
        const ssize_t nLength = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (nLength < 0) return std::string();
        if (static_cast<std::size_t>(nLength) < buffer.size()) return std::string(buffer.data(), nLength);
#endif
        if (buffer.size() > (1u << 16)) return std::string();
        buffer.resize(buffer.size() * 2);  // cut: try again with room to spare
    }
}

}  // namespace

std::string ProgramDirectory() {
    const std::string strFile = ProgramFile();
    const std::size_t uSlash = strFile.find_last_of("/\\");
    if (uSlash == std::string::npos) return std::string();
    return strFile.substr(0, uSlash);
}
