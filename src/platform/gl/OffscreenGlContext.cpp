#include "platform/gl/OffscreenGlContext.h"

#include <SDL.h>
#include <epoxy/gl.h>

namespace tamblor {

OffscreenGlContext::OffscreenGlContext(int windowWidth, int windowHeight) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        error_ = std::string("SDL video: ") + SDL_GetError();
        return;
    }
    sdlStarted_ = true;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    window_ = SDL_CreateWindow("tamblor offscreen", 0, 0, windowWidth, windowHeight,
                               SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window_ == nullptr) {
        error_ = std::string("window: ") + SDL_GetError();
        return;
    }
    context_ = SDL_GL_CreateContext(window_);
    if (context_ == nullptr) {
        error_ = std::string("OpenGL 3.3 core context: ") + SDL_GetError();
        return;
    }
    SDL_GL_MakeCurrent(window_, context_);
}

OffscreenGlContext::~OffscreenGlContext() {
    if (context_ != nullptr)
        SDL_GL_DeleteContext(context_);
    if (window_ != nullptr)
        SDL_DestroyWindow(window_);
    if (sdlStarted_)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void OffscreenGlContext::KeepDriverLoaded() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0)
        SDL_GL_LoadLibrary(nullptr);
}

std::string OffscreenGlContext::Renderer() const {
    if (context_ == nullptr)
        return {};
    const GLubyte* name = glGetString(GL_RENDERER);
    return name ? reinterpret_cast<const char*>(name) : "";
}

}  // namespace tamblor
