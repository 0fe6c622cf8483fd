// Keeps the OpenGL driver loaded for the whole test run (see OffscreenGlContext::KeepDriverLoaded), so
// the leak checker does not count Mesa's caches of a context that was made and dropped. The thread
// sanitizer run holds only the audio thread tests and draws nothing, so it leaves the driver alone.
#include <gtest/gtest.h>

#include "platform/gl/OffscreenGlContext.h"

namespace tamblor {
namespace {

#if !defined(__SANITIZE_THREAD__)
class KeepGlDriverLoaded : public ::testing::Environment {
public:
    void SetUp() override { OffscreenGlContext::KeepDriverLoaded(); }
};

const ::testing::Environment* const kGlDriverEnvironment =
    ::testing::AddGlobalTestEnvironment(new KeepGlDriverLoaded);
#endif

}  // namespace
}  // namespace tamblor
