#include "platform/gl/GlRenderDevice.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>

namespace tamblor {
namespace {

constexpr int32_t kFail = static_cast<int32_t>(0x80004005u);
// The vertex stream starts at room for 340 quads, more than the busiest frame draws, and grows to
// the largest batch seen. It is renewed every frame, so it is kept small: a software driver holds
// it on the process's heap, and large buffers renewed at that rate leave the heap fragmented.
constexpr size_t kStreamBytes = 64 * 1024;

const char* kSceneVertexShader = R"(#version 330 core
layout(location = 0) in vec2 aPosition;
layout(location = 1) in vec4 aColor;
layout(location = 2) in vec2 aUv;
uniform vec2 uViewport;
out vec4 vColor;
out vec2 vUv;
void main() {
    // Pixel centres sit on integer coordinates in the game's vertices, at +0.5 in OpenGL.
    vec2 p = (aPosition + 0.5) / uViewport;
    gl_Position = vec4(p.x * 2.0 - 1.0, 1.0 - p.y * 2.0, 0.0, 1.0);
    vColor = aColor;
    vUv = aUv;
}
)";

const char* kSceneFragmentShader = R"(#version 330 core
in vec4 vColor;
in vec2 vUv;
uniform sampler2D uTexture;
uniform int uColorOp;
out vec4 fragColor;
void main() {
    vec4 t = texture(uTexture, vUv);
    vec3 rgb;
    if (uColorOp == 1) {
        rgb = clamp(t.rgb * vColor.rgb * 4.0, 0.0, 1.0);
    } else if (uColorOp == 2) {
        rgb = clamp(t.rgb + vColor.rgb, 0.0, 1.0);
    } else {
        rgb = t.rgb * vColor.rgb;
    }
    fragColor = vec4(rgb, t.a * vColor.a);
}
)";

const char* kPresentVertexShader = R"(#version 330 core
out vec2 vUv;
void main() {
    vec2 p = vec2(gl_VertexID == 1 ? 3.0 : -1.0, gl_VertexID == 2 ? 3.0 : -1.0);
    vUv = (p + 1.0) * 0.5;
    gl_Position = vec4(p, 0.0, 1.0);
}
)";

const char* kPresentFragmentShader = R"(#version 330 core
in vec2 vUv;
uniform sampler2D uPicture;
uniform usampler2D uRamp;
uniform int uUseRamp;
out vec4 fragColor;
float Ramp(float c) {
    int i = int(clamp(floor(c * 255.0 + 0.5), 0.0, 255.0));
    return float(texelFetch(uRamp, ivec2(i, 0), 0).r >> 8u) / 255.0;
}
void main() {
    vec3 c = texture(uPicture, vUv).rgb;
    if (uUseRamp != 0) c = vec3(Ramp(c.r), Ramp(c.g), Ramp(c.b));
    fragColor = vec4(c, 1.0);
}
)";

class GlTexture final : public Texture {
public:
    GlTexture(int width, int height, GLuint id) : Texture(width, height), id(id) {}
    ~GlTexture() override { ReleaseOwnPixels(); }
    GLuint id;

private:
    void ReleaseOwnPixels() override {
        if (id != 0)
            glDeleteTextures(1, &id);
        id = 0;
    }
};

GLuint Compile(GLenum kind, const char* source, std::string& error) {
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024] = {};
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        error = std::string("shader: ") + log;
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

GLuint Link(const char* vertexSource, const char* fragmentSource, std::string& error) {
    GLuint vs = Compile(GL_VERTEX_SHADER, vertexSource, error);
    GLuint fs = vs ? Compile(GL_FRAGMENT_SHADER, fragmentSource, error) : 0;
    if (!vs || !fs) {
        if (vs)
            glDeleteShader(vs);
        return 0;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vs);
    glAttachShader(program, fs);
    glLinkProgram(program);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        char log[1024] = {};
        glGetProgramInfoLog(program, sizeof log, nullptr, log);
        error = std::string("program: ") + log;
        glDeleteProgram(program);
        return 0;
    }
    return program;
}

GLenum GlBlend(BlendFactor f) {
    switch (f) {
        case BlendFactor::Zero:
            return GL_ZERO;
        case BlendFactor::One:
            return GL_ONE;
        case BlendFactor::SrcColor:
            return GL_SRC_COLOR;
        case BlendFactor::InvSrcColor:
            return GL_ONE_MINUS_SRC_COLOR;
        case BlendFactor::SrcAlpha:
            return GL_SRC_ALPHA;
        case BlendFactor::InvSrcAlpha:
            return GL_ONE_MINUS_SRC_ALPHA;
    }
    return GL_ONE;
}

GLint GlFilter(TextureFilter f) {
    return f == TextureFilter::Linear ? GL_LINEAR : GL_NEAREST;
}
GLint GlAddress(TextureAddress a) {
    return a == TextureAddress::Clamp ? GL_CLAMP_TO_EDGE : GL_REPEAT;
}

}  // namespace

GlRenderDevice::GlRenderDevice(int backBufferWidth, int backBufferHeight)
    : RenderDevice(backBufferWidth, backBufferHeight) {
    if (epoxy_gl_version() < 33) {
        error_ = "OpenGL 3.3 is not available";
        return;
    }
    program_ = Link(kSceneVertexShader, kSceneFragmentShader, error_);
    presentProgram_ = program_ ? Link(kPresentVertexShader, kPresentFragmentShader, error_) : 0;
    if (!program_ || !presentProgram_)
        return;
    uViewport_ = glGetUniformLocation(program_, "uViewport");
    uColorOp_ = glGetUniformLocation(program_, "uColorOp");
    glUseProgram(presentProgram_);
    glUniform1i(glGetUniformLocation(presentProgram_, "uPicture"), 0);
    glUniform1i(glGetUniformLocation(presentProgram_, "uRamp"), 1);
    uPresentUseRamp_ = glGetUniformLocation(presentProgram_, "uUseRamp");
    glUseProgram(program_);
    glUniform1i(glGetUniformLocation(program_, "uTexture"), 0);

    glGenVertexArrays(1, &vao_);
    glGenVertexArrays(1, &emptyVao_);
    glGenBuffers(1, &vbo_);
    glBindVertexArray(vao_);
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          reinterpret_cast<void*>(offsetof(Vertex, x)));
    // 0xAARRGGBB in little-endian memory is B, G, R, A.
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(Vertex),
                          reinterpret_cast<void*>(offsetof(Vertex, diffuse)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          reinterpret_cast<void*>(offsetof(Vertex, u)));

    glGenSamplers(1, &sampler_);
    glBindSampler(0, sampler_);

    // What a missing texture reads as: opaque white.
    const uint8_t white[4] = {255, 255, 255, 255};
    glGenTextures(1, &whiteTexture_);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, whiteTexture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);

    glGenTextures(1, &rampTexture_);
    glBindTexture(GL_TEXTURE_2D, rampTexture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    GammaRamp identity = IdentityRamp();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_R16UI, 256, 1, 0, GL_RED_INTEGER, GL_UNSIGNED_SHORT, identity.data());

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_DITHER);
    glFrontFace(GL_CW);
    if (!MakeTarget(backBufferWidth, backBufferHeight))
        return;
    ok_ = glGetError() == GL_NO_ERROR;
    if (!ok_)
        error_ = "OpenGL error while setting up";
}

GlRenderDevice::~GlRenderDevice() {
    if (framebuffer_)
        glDeleteFramebuffers(1, &framebuffer_);
    if (colorTexture_)
        glDeleteTextures(1, &colorTexture_);
    if (whiteTexture_)
        glDeleteTextures(1, &whiteTexture_);
    if (rampTexture_)
        glDeleteTextures(1, &rampTexture_);
    if (sampler_)
        glDeleteSamplers(1, &sampler_);
    if (vbo_)
        glDeleteBuffers(1, &vbo_);
    if (vao_)
        glDeleteVertexArrays(1, &vao_);
    if (emptyVao_)
        glDeleteVertexArrays(1, &emptyVao_);
    if (program_)
        glDeleteProgram(program_);
    if (presentProgram_)
        glDeleteProgram(presentProgram_);
}

std::string GlRenderDevice::Renderer() const {
    const GLubyte* name = glGetString(GL_RENDERER);
    return name ? reinterpret_cast<const char*>(name) : "";
}

bool GlRenderDevice::MakeTarget(int width, int height) {
    if (width <= 0 || height <= 0) {
        error_ = "empty back buffer";
        return false;
    }
    if (!colorTexture_)
        glGenTextures(1, &colorTexture_);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, colorTexture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    if (!framebuffer_)
        glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colorTexture_, 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        error_ = "offscreen framebuffer incomplete";
        return false;
    }
    SetBackBufferSize(width, height);
    appliedValid_ = false;
    glViewport(0, 0, width, height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    return true;
}

bool GlRenderDevice::ResizeBackBuffer(int width, int height) {
    if (!ok_)
        return false;
    Flush();
    return MakeTarget(width, height);
}

std::unique_ptr<Texture> GlRenderDevice::CreateTexture(int width, int height, const uint8_t* rgba) {
    if (!ok_ || width <= 0 || height <= 0 || rgba == nullptr)
        return nullptr;
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    if (width > maxSize || height > maxSize)
        return nullptr;
    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint id = 0;
    glGenTextures(1, &id);
    appliedValid_ = false;  // the texture unit is rebound here
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, id);
    // One level only, said before the upload: a driver that does not know it yet makes room for a
    // whole chain of smaller levels (a third more memory) that the game never draws from.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &id);
        return nullptr;
    }
    return std::make_unique<GlTexture>(width, height, id);
}

void GlRenderDevice::ApplyState(const RenderState& s) {
    // Only what changed since the last draw goes to OpenGL.
    const RenderState& a = applied_;
    bool all = !appliedValid_;
    if (all || s.alphaBlendEnable != a.alphaBlendEnable) {
        if (s.alphaBlendEnable) {
            glEnable(GL_BLEND);
        } else {
            glDisable(GL_BLEND);
        }
    }
    if (all || s.srcBlend != a.srcBlend || s.destBlend != a.destBlend) {
        glBlendFunc(GlBlend(s.srcBlend), GlBlend(s.destBlend));
    }
    if (all) {
        // Culling is done while batching (DrawBatch), triangle by triangle.
        glDisable(GL_CULL_FACE);
    }
    if (all || s.colorOp != a.colorOp) {
        glUniform1i(uColorOp_, s.colorOp == ColorOp::Modulate4X ? 1 : s.colorOp == ColorOp::Add ? 2 : 0);
    }
    if (all || s.minFilter != a.minFilter)
        glSamplerParameteri(sampler_, GL_TEXTURE_MIN_FILTER, GlFilter(s.minFilter));
    if (all || s.magFilter != a.magFilter)
        glSamplerParameteri(sampler_, GL_TEXTURE_MAG_FILTER, GlFilter(s.magFilter));
    if (all || s.addressU != a.addressU)
        glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_S, GlAddress(s.addressU));
    if (all || s.addressV != a.addressV)
        glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_T, GlAddress(s.addressV));
    if (all || s.texture != a.texture) {
        glActiveTexture(GL_TEXTURE0);
        auto* texture = static_cast<GlTexture*>(s.texture);
        glBindTexture(GL_TEXTURE_2D, texture ? texture->id : whiteTexture_);
    }
    applied_ = s;
    appliedValid_ = true;
}

int32_t GlRenderDevice::DrawTriangles(const Vertex* vertices, int vertexCount, const uint16_t* indices,
                                      int indexCount) {
    if (!ok_ || !DrawBatch::Valid(vertices, vertexCount, indices, indexCount))
        return kFail;
    if (discardDrawing_)
        return 0;
    if (!Batching() || !batch_.Joins(State()))
        Flush();
    batch_.Add(State(), vertices, vertexCount, indices, indexCount);
    return 0;
}

void GlRenderDevice::Flush() {
    if (!ok_ || batch_.Empty())
        return;
    const std::vector<Vertex>& vertices = batch_.Vertices();
    size_t bytes = vertices.size() * sizeof(Vertex);
    glUseProgram(program_);
    if (!appliedValid_) {
        glUniform2f(uViewport_, static_cast<float>(BackBufferWidth()),
                    static_cast<float>(BackBufferHeight()));
    }
    ApplyState(batch_.State());
    glBindVertexArray(vao_);
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    // One stream per frame: batches are written one after another; when the buffer is full (or a new
    // frame begins) it is orphaned, so the driver never waits for a draw still reading it.
    if (streamUsed_ + bytes > streamCapacity_) {
        streamCapacity_ = std::max(streamCapacity_, std::max<size_t>(bytes, kStreamBytes));
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(streamCapacity_), nullptr, GL_STREAM_DRAW);
        streamUsed_ = 0;
    }
    glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(streamUsed_), static_cast<GLsizeiptr>(bytes),
                    vertices.data());
    glDrawArrays(GL_TRIANGLES, static_cast<GLint>(streamUsed_ / sizeof(Vertex)),
                 static_cast<GLsizei>(vertices.size()));
    streamUsed_ += bytes;
    CountDrawCall(batch_.State().texture);
    batch_.Clear();
}

void GlRenderDevice::Clear(uint32_t argb) {
    if (!ok_ || discardDrawing_)
        return;
    Flush();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glClearColor(((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

void GlRenderDevice::Present() {
    if (!ok_)
        return;
    Flush();
    // The next frame starts a fresh stream.
    streamUsed_ = streamCapacity_;
    glFlush();
}

GlRenderDevice::Viewport GlRenderDevice::Letterbox(int backBufferWidth, int backBufferHeight, int windowWidth,
                                                   int windowHeight) {
    if (backBufferWidth <= 0 || backBufferHeight <= 0 || windowWidth <= 0 || windowHeight <= 0)
        return {};
    double scale = std::min(static_cast<double>(windowWidth) / backBufferWidth,
                            static_cast<double>(windowHeight) / backBufferHeight);
    Viewport v;
    v.width = std::clamp(static_cast<int>(std::lround(backBufferWidth * scale)), 1, windowWidth);
    v.height = std::clamp(static_cast<int>(std::lround(backBufferHeight * scale)), 1, windowHeight);
    v.x = (windowWidth - v.width) / 2;
    v.y = (windowHeight - v.height) / 2;
    return v;
}

void GlRenderDevice::PresentToWindow(int windowPixelWidth, int windowPixelHeight,
                                     const uint16_t* gammaRampOrNull) {
    if (!ok_)
        return;
    Flush();
    Viewport v = Letterbox(BackBufferWidth(), BackBufferHeight(), windowPixelWidth, windowPixelHeight);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glViewport(0, 0, windowPixelWidth, windowPixelHeight);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    if (v.width > 0 && v.height > 0) {
        glViewport(v.x, v.y, v.width, v.height);
        glUseProgram(presentProgram_);
        glBindSampler(0, 0);
        glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, rampTexture_);
        if (gammaRampOrNull != nullptr) {
            glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 256, 1, GL_RED_INTEGER, GL_UNSIGNED_SHORT,
                            gammaRampOrNull);
        }
        glUniform1i(uPresentUseRamp_, gammaRampOrNull != nullptr ? 1 : 0);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, colorTexture_);
        // Same size: pixel for pixel; scaled: smoothed.
        GLint filter =
            (v.width == BackBufferWidth() && v.height == BackBufferHeight()) ? GL_NEAREST : GL_LINEAR;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
        glBindVertexArray(emptyVao_);
        glDrawArrays(GL_TRIANGLES, 0, 3);
        glBindSampler(0, sampler_);
    }
    // Back to the offscreen picture for the next frame.
    appliedValid_ = false;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glViewport(0, 0, BackBufferWidth(), BackBufferHeight());
}

namespace {

bool ReadFramebuffer(unsigned framebuffer, int w, int h, std::vector<uint8_t>& rgba) {
    if (w <= 0 || h <= 0)
        return false;
    while (glGetError() != GL_NO_ERROR) {
    }
    std::vector<uint8_t> raw(static_cast<size_t>(w) * h * 4);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, raw.data());
    if (glGetError() != GL_NO_ERROR)
        return false;
    rgba.resize(raw.size());
    size_t row = static_cast<size_t>(w) * 4;
    for (int y = 0; y < h; ++y) {
        // OpenGL's first row is the bottom one.
        std::copy_n(raw.data() + static_cast<size_t>(h - 1 - y) * row, row,
                    rgba.data() + static_cast<size_t>(y) * row);
    }
    for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
    return true;
}

}  // namespace

bool GlRenderDevice::ReadBackBuffer(std::vector<uint8_t>& rgba) {
    Flush();
    return ok_ && ReadFramebuffer(framebuffer_, BackBufferWidth(), BackBufferHeight(), rgba);
}

bool GlRenderDevice::ReadWindowPixels(int windowPixelWidth, int windowPixelHeight,
                                      std::vector<uint8_t>& rgba) {
    GLint previous = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
    bool ok = ReadFramebuffer(0, windowPixelWidth, windowPixelHeight, rgba);
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
    return ok;
}

}  // namespace tamblor
