// On Windows the engine's entry point runs only in a DLL; linked into this
// test program, it is called here on the program's own module, which carries
// the grid resource. Elsewhere the grid is a blob linked into the program and
// there is no entry point.
#include <gtest/gtest.h>

#ifdef _WIN32
#include "ressource.h"

namespace {
class ChargementGrille : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_EQ(DllEntryPoint(GetModuleHandleA(nullptr), DLL_PROCESS_ATTACH, nullptr), 1); }
};
const auto* const environnement = ::testing::AddGlobalTestEnvironment(new ChargementGrille);
}  // namespace
#endif
