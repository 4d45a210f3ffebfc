// Camera-facing quads, one an instance: the shared quad's corners (x, y in
// -1..1) spread by the instance's size in view space around its position,
// stretched along its motion by velocityStretch. Included after the file
// defines CellCoordinates(): which part of the texture a corner shows.

layout(std140) uniform Constants {
    mat4 worldMatrix;
    mat4 viewMatrix;
    mat4 projectionMatrix;
    float velocityStretch;
    float unused1;
    float unused2;
    float unused3;
};

#include "qel-target.glsl"

layout(location = 0) in vec4 position;
layout(location = 4) in vec2 texA;
layout(location = 9) in vec4 iPosition;   // xyz, w: size
layout(location = 10) in vec4 iColour;
layout(location = 11) in vec3 iVelocity;
layout(location = 13) in float iCell;

out vec2 vTexCoord;
out vec4 vColour;

void main()
{
    vec4 centre = vec4(iPosition.xyz, 1.0) * worldMatrix * viewMatrix;
    vec2 motion = (vec4(iVelocity, 0.0) * worldMatrix * viewMatrix).xy;
    float speed = length(motion);
    vec2 corner = position.xy * iPosition.w;
    if (velocityStretch > 0.0 && speed > 1e-4) {
        vec2 along = motion / speed;
        vec2 side = vec2(-along.y, along.x);
        corner = along * position.y * iPosition.w * (1.0 + velocityStretch * speed) + side * position.x * iPosition.w;
    }
    centre.xy += corner;
    gl_Position = QelToTarget(centre * projectionMatrix);
    vTexCoord = CellCoordinates(texA, iCell);
    vColour = iColour;
}
