// The lit-ship shaders' constants (800 bytes).
layout(std140) uniform Constants {
    mat4 worldMatrix;
    mat4 viewMatrix;
    mat4 projectionMatrix;
    vec4 glowMult;             // x: emissive scale; RedwoodWiggle: y phase, z size, w wave length divisor
    vec4 lightDir;             // the direction the light travels
    vec4 lightColorIntensity;
    vec4 ambientColor;
    vec4 cameraDir;            // the world direction the camera looks
    vec4 cameraPos;            // minus the camera's world position; RedwoodWiggle: xy wave divisors
    vec4 spotColor[16];
    vec4 spotPos[16];          // world position; w: reach, 0 when off
};
