// The planet shaders' constants (384 bytes).
layout(std140) uniform Constants {
    mat4 worldMatrix;
    mat4 viewMatrix;
    mat4 projectionMatrix;
    vec4 camPos;               // minus the camera's world position
    vec4 camDir;
    vec4 lightDir;             // toward the light
    vec4 lightColorIntensity;
    vec4 ambientColor;
    vec4 baseColor;
    vec4 emissiveColor;
    vec4 upperCloudColor;
    float fresnelPower;
    float fresnelBias;
    float timeScale;
    float radius;
    float oblateness;
    float bandScale;
    float upperCloudStrength;
    float upperCloudExponent;
    float windSpeed1;
    float windSpeed2;
    float stormSpeed;
    float stormSize;
    float stormDepth;
    float cycloneStability;
    float time;                // advances 0.02 a tick while the world runs
    float unused;
};
