#include "pointeditor/view/device/gl_programs.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <string>

namespace tavo {

namespace {

const char* const VertexShader = R"(#version 330 core
layout(location = 0) in vec4 position;
layout(location = 1) in vec4 colour;
layout(location = 2) in vec2 texCoord;
layout(location = 3) in ivec4 rect;
layout(location = 4) in int unit;
uniform mat4 worldViewProjection;
uniform bool pretransformed;
uniform float pixelShift;
uniform float backBufferSize;
out vec4 vColour;
out vec2 vTexCoord;
flat out ivec4 vRect;
flat out int vUnit;
void main() {
    float toNdc = 2.0 / backBufferSize;
    if (pretransformed) {
        vec2 pixel = position.xy + vec2(pixelShift);
        gl_Position = vec4(pixel * toNdc - 1.0, position.z * 2.0 - 1.0, 1.0);
    } else {
        // Rows are kept top first, so y turns over; depth 0..1 becomes OpenGL's -w..w.
        vec4 clip = worldViewProjection * vec4(position.xyz, 1.0);
        float shift = pixelShift * toNdc * clip.w;
        gl_Position = vec4(clip.x + shift, -clip.y + shift, clip.z * 2.0 - clip.w, clip.w);
    }
    vColour = colour;
    vTexCoord = texCoord;
    vRect = rect;
    vUnit = unit;
}
)";

const char* const FragmentHead = R"(#version 330 core
in vec4 vColour;
in vec2 vTexCoord;
flat in ivec4 vRect;
flat in int vUnit;
out vec4 fragColour;
)";

const char* const PlainFragment = R"(
void main() {
    fragColour = vColour;
}
)";

// The nearest texel is floor(u x width), wrapped into 0..width-1, as with wrap addressing.
const char* const AtlasFragment = R"(
uniform sampler2D atlas;
void main() {
    vec4 texel = vec4(1.0);
    if (vRect.z > 0) {
        ivec2 size = vRect.zw;
        ivec2 t = ivec2(floor(vTexCoord * vec2(size)));
        // % is undefined for negative operands in GLSL: wrap through floor division.
        t -= ivec2(floor(vec2(t) / vec2(size))) * size;
        t = clamp(t, ivec2(0), size - 1);
        texel = texelFetch(atlas, vRect.xy + t, 0);
    }
    fragColour = texel * vColour;
}
)";

std::string unitsFragment() {
    std::string source;
    for (int i = 0; i < MaxBatchTextures; ++i) {
        source += "uniform sampler2D texture" + std::to_string(i) + ";\n";
    }
    source += "void main() {\n"
              "    vec4 texel = vec4(1.0);\n"
              "    switch (vUnit) {\n";
    for (int i = 0; i < MaxBatchTextures; ++i) {
        std::string n = std::to_string(i);
        source += "    case " + n + ": texel = texture(texture" + n + ", vTexCoord); break;\n";
    }
    source += "    default: break;\n"
              "    }\n"
              "    fragColour = texel * vColour;\n"
              "}\n";
    return source;
}

// Why GL refused a shader or a program, one line on standard error: without it a device that
// cannot start says nothing about the driver's complaint.
void reportLog(const char* what, GLuint object, bool program) {
    GLint length = 0;
    if (program) {
        glGetProgramiv(object, GL_INFO_LOG_LENGTH, &length);
    } else {
        glGetShaderiv(object, GL_INFO_LOG_LENGTH, &length);
    }
    std::string log(static_cast<std::size_t>(std::max(length, 1)), '\0');
    if (program) {
        glGetProgramInfoLog(object, length, nullptr, log.data());
    } else {
        glGetShaderInfoLog(object, length, nullptr, log.data());
    }
    std::fprintf(stderr, "pointeditor: %s failed: %s\n", what, log.c_str());
}

GLuint compile(GLenum type, const std::string& source) {
    GLuint shader = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok != GL_TRUE) {
        reportLog(type == GL_VERTEX_SHADER ? "vertex shader compile" : "fragment shader compile",
                  shader, false);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

} // namespace

GlProgram buildProgram(ProgramKind kind, float pixelShift, int backBufferSize) {
    std::string fragmentSource = FragmentHead;
    switch (kind) {
    case ProgramKind::Plain:
        fragmentSource += PlainFragment;
        break;
    case ProgramKind::Atlas:
        fragmentSource += AtlasFragment;
        break;
    case ProgramKind::Units:
        fragmentSource += unitsFragment();
        break;
    }
    GLuint vertex = compile(GL_VERTEX_SHADER, VertexShader);
    GLuint fragment = compile(GL_FRAGMENT_SHADER, fragmentSource);
    GlProgram program;
    if (vertex == 0 || fragment == 0) {
        glDeleteShader(vertex);
        glDeleteShader(fragment);
        return program;
    }
    program.name = glCreateProgram();
    glAttachShader(program.name, vertex);
    glAttachShader(program.name, fragment);
    glLinkProgram(program.name);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint linked = GL_FALSE;
    glGetProgramiv(program.name, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        reportLog("shader program link", program.name, true);
        glDeleteProgram(program.name);
        program.name = 0;
        return program;
    }
    glUseProgram(program.name);
    program.worldViewProjection = glGetUniformLocation(program.name, "worldViewProjection");
    program.pretransformed = glGetUniformLocation(program.name, "pretransformed");
    glUniform1f(glGetUniformLocation(program.name, "pixelShift"), pixelShift);
    glUniform1f(glGetUniformLocation(program.name, "backBufferSize"),
                static_cast<float>(backBufferSize));
    glUniform1i(glGetUniformLocation(program.name, "atlas"), 0);
    for (int i = 0; i < MaxBatchTextures; ++i) {
        std::string name = "texture" + std::to_string(i);
        glUniform1i(glGetUniformLocation(program.name, name.c_str()), i);
    }
    return program;
}

void describeVertexLayout() {
    auto offset = [](std::size_t bytes) { return reinterpret_cast<const void*>(bytes); };
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, sizeof(GlVertex),
                          offset(offsetof(GlVertex, x)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(GlVertex),
                          offset(offsetof(GlVertex, colour)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(GlVertex),
                          offset(offsetof(GlVertex, u)));
    glEnableVertexAttribArray(3);
    glVertexAttribIPointer(3, 4, GL_SHORT, sizeof(GlVertex), offset(offsetof(GlVertex, rect)));
    glEnableVertexAttribArray(4);
    glVertexAttribIPointer(4, 1, GL_INT, sizeof(GlVertex), offset(offsetof(GlVertex, unit)));
}

} // namespace tavo
