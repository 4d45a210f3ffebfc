// The constants of Flat and the shaders built like it (208 bytes).
layout(std140) uniform Constants {
    mat4 worldMatrix;
    mat4 viewMatrix;
    mat4 projectionMatrix;
    vec4 color;
};
