#pragma once
#include <string>

struct SDL_Window;

namespace tamblor {

// An OpenGL 3.3 core context on a hidden window (1 x 1 unless asked otherwise), for tests, benchmarks and
// tools that draw without showing anything. Under SDL_VIDEODRIVER=offscreen it needs no display server. The
// context is current on the calling thread while the object lives.
class OffscreenGlContext {
public:
    explicit OffscreenGlContext(int windowWidth = 1, int windowHeight = 1);
    ~OffscreenGlContext();
    OffscreenGlContext(const OffscreenGlContext&) = delete;
    OffscreenGlContext& operator=(const OffscreenGlContext&) = delete;

    bool Ok() const { return context_ != nullptr; }
    const std::string& Error() const { return error_; }
    // GL_RENDERER, e.g. "llvmpipe (LLVM 15.0.6, 256 bits)".
    std::string Renderer() const;

    // Takes one reference on SDL's video subsystem and OpenGL library that is never given back, so the
    // driver stays loaded until the process ends. A test run that makes and drops many contexts calls
    // it once: unloading Mesa between contexts turns its caches into leaks that the leak checker
    // reports (and costs time).
    static void KeepDriverLoaded();

private:
    SDL_Window* window_ = nullptr;
    void* context_ = nullptr;
    bool sdlStarted_ = false;
    std::string error_;
};

}  // namespace tamblor
