// Keeps the OpenGL driver loaded for the whole test run (see OffscreenGlContext::KeepDriverLoaded).
#include <gtest/gtest.h>

#include "platform/gl/OffscreenGlContext.h"

namespace tamblor {
namespace {

class KeepGlDriverLoaded : public ::testing::Environment {
public:
    void SetUp() override { OffscreenGlContext::KeepDriverLoaded(); }
};

const ::testing::Environment* const kGlDriverEnvironment =
    ::testing::AddGlobalTestEnvironment(new KeepGlDriverLoaded);

}  // namespace
}  // namespace tamblor
