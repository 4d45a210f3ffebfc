// The vertex shader of the lit and procedural 3D shaders, included after
// their Constants block (with the three matrices) and qel-target.glsl: it
// hands the pixel shader world positions, the normal frame and the texture
// coordinates. A file that bends its mesh defines QEL_SHAPE and Shape()
// (where a vertex of the mesh is drawn, in model space) before it.

#ifndef QEL_SHAPE
vec3 Shape(vec3 p)
{
    return p;
}
#endif

layout(location = 0) in vec4 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec3 binormal;
layout(location = 3) in vec3 tangent;
layout(location = 4) in vec2 texA;

out vec3 vWorldPosition;
out vec3 vNormal;
out vec3 vBinormal;
out vec3 vTangent;
out vec2 vTexCoord;

void main()
{
    vec4 world = vec4(Shape(position.xyz), 1.0) * worldMatrix;
    vWorldPosition = world.xyz;
    vNormal = (vec4(normal, 0.0) * worldMatrix).xyz;
    vBinormal = (vec4(binormal, 0.0) * worldMatrix).xyz;
    vTangent = (vec4(tangent, 0.0) * worldMatrix).xyz;
    vTexCoord = texA;
    gl_Position = QelToTarget(world * viewMatrix * projectionMatrix);
}
