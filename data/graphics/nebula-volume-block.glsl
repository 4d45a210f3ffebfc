// The nebula volume's constants (448 bytes).
layout(std140) uniform Constants {
    mat4 worldMatrix;          // the box: the nebula's centre, scaled by 0.55 of its radius
    mat4 viewMatrix;
    mat4 projectionMatrix;
    vec4 unusedRows[4];
    vec4 camPos;               // minus the camera's world position
    vec4 camDir;               // the world direction the camera looks
    vec4 lightDir;             // toward the light
    vec4 lightColorIntensity;
    vec4 ambientColor;
    vec4 emissiveColor;
    vec4 absorptionColor;
    vec3 mieScattering;
    float anisotropy;
    float radius;
    float density;
    float baseFrequency;
    float baseAmplitude;
    float detailFrequency;
    float detailAmplitude;
    float detailLacunarity;
    float domainWarp;
    float swirl;
    float stepScale;           // 2 / numSamples
    int numSamples;
    int numOctaves;
    int randomSeed;
    int downsampleRatio;       // the scene's size over the target's
    int cameraInside;          // 1 while the camera is inside the cloud
    int sceneDepth;            // 1 when depthTexture holds the scene's depth
};
