// The lit-ship pixel shader, after the file that includes it has defined
// ToViewer(): the unit direction from a world position to the camera.
//
// Diffuse, emissive, specular (red channel) and normal map on units 0 to 3.
// Light: the ambient colour (stronger on surfaces facing up, as from a sky),
// one directional light, and up to 16 spot lights (those on first) whose
// strength falls to nothing at their reach; a faint rim keeps dark sides apart from black
// space. The emissive map glows by glowMult.x.

uniform sampler2D shaderTexture;
uniform sampler2D emissiveTexture;
uniform sampler2D specularTexture;
uniform sampler2D normalTexture;

in vec3 vWorldPosition;
in vec3 vNormal;
in vec3 vBinormal;
in vec3 vTangent;
in vec2 vTexCoord;

out vec4 fragColour;

const float kShininess = 28.0;
const float kSpecularStrength = 0.9;
const float kRim = 0.6;
// How much more ambient light reaches a surface facing straight up.
const float kSkyAmbient = 0.8;

// The mesh's normal bent by the normal map, where the mesh has tangents.
vec3 SurfaceNormal()
{
    vec3 n = normalize(vNormal);
    if (!gl_FrontFacing)
        n = -n;
    if (dot(vTangent, vTangent) < 1e-12 || dot(vBinormal, vBinormal) < 1e-12)
        return n;
    vec3 t = normalize(vTangent - n * dot(n, vTangent));
    vec3 b = normalize(vBinormal - n * dot(n, vBinormal));
    vec3 m = texture(normalTexture, vTexCoord).xyz * 2.0 - 1.0;
    return normalize(t * m.x + b * m.y + n * m.z);
}

float Highlight(vec3 n, vec3 toLight, vec3 toViewer)
{
    return pow(max(dot(n, normalize(toLight + toViewer)), 0.0), kShininess) * kSpecularStrength;
}

void main()
{
    vec4 albedo = texture(shaderTexture, vTexCoord);
#ifdef QEL_ALPHA_TO_COVERAGE
    if (albedo.a < 0.5)
        discard;  // alpha to coverage, without multisampling
#endif
    vec3 n = SurfaceNormal();
    vec3 v = ToViewer(vWorldPosition);
    float shine = texture(specularTexture, vTexCoord).r;

    vec3 lit = ambientColor.rgb * (1.0 + kSkyAmbient * max(n.y, 0.0));
    vec3 highlight = vec3(0.0);
    if (dot(lightDir.xyz, lightDir.xyz) > 0.0) {
        vec3 l = normalize(-lightDir.xyz);
        lit += lightColorIntensity.rgb * max(dot(n, l), 0.0);
        highlight += lightColorIntensity.rgb * Highlight(n, l, v) * shine;
    }
    for (int i = 0; i < 16; ++i) {
        float reach = spotPos[i].w;
        if (reach <= 0.0)
            break;  // the lights that are on arrive first
        vec3 toLight = spotPos[i].xyz - vWorldPosition;
        float range = length(toLight);
        float fade = clamp(1.0 - range / reach, 0.0, 1.0);
        if (fade <= 0.0)
            continue;
        vec3 l = toLight / max(range, 1e-4);
        fade *= fade;
        lit += spotColor[i].rgb * fade * max(dot(n, l), 0.0);
        highlight += spotColor[i].rgb * fade * Highlight(n, l, v) * shine;
    }
    float rim = pow(1.0 - max(dot(n, v), 0.0), 3.0) * kRim;
    vec3 colour = albedo.rgb * (lit + ambientColor.rgb * rim) + highlight;
    colour += texture(emissiveTexture, vTexCoord).rgb * glowMult.x;
    fragColour = vec4(colour, albedo.a);
}
