// On Windows the engine's entry point runs only in a DLL; linked into this
// test program, it is called here on the program's own module, which carries
// the grid resource. Elsewhere it ran when the program was loaded.
#include <gtest/gtest.h>

#include "ressource.h"

#ifdef _WIN32
namespace {
class ChargementGrille : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_EQ(DllEntryPoint(GetModuleHandleA(nullptr), DLL_PROCESS_ATTACH, nullptr), 1); }
};
const auto* const environnement = ::testing::AddGlobalTestEnvironment(new ChargementGrille);
}  // namespace
#endif
