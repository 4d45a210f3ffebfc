// Camera-facing quads, one an instance: the shared quad's corners (x, y in
// -1..1) spread by the instance's size in view space around its position.
// Included after the file defines CellCoordinates(): which part of the
// texture a corner shows.
//
// A moving particle with a velocityStretch draws a streak: the path it came
// by, velocityStretch quad lengths of it for each unit of speed, from its
// head where it is now back to its tail, the quad's y = 1 end at the head.
// Both ends are placed in the scene and seen in perspective, so streaks
// coming at the eye spread out from the point they come from; the streak
// keeps the head's width on the screen all along. The pixel shader sweeps
// the sprite along it, so the vertices hand on where in the streak they are,
// in sprite radii, and the part of the texture one sprite fills.

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
layout(location = 9) in vec4 iPosition;   // xyz, w: size
layout(location = 10) in vec4 iColour;
layout(location = 11) in vec3 iVelocity;
layout(location = 13) in float iCell;

noperspective out vec2 vQuad;  // x across, y along the streak (head +), in sprite radii
flat out float vReach;         // half the streak's length, in sprite radii
flat out vec2 vCellOrigin;     // the texture coordinates of the sprite's top left
flat out vec2 vCellSpan;       // and of its bottom right, less those of its top left
out vec4 vColour;

// A particle this close to the eye, or behind it, is not drawn; nor one of
// no size.
const float kNearestHead = 1e-3;
// A particle drawing away from the eye keeps its tail at least this part of
// its own distance away, so one that has just passed close by the eye does
// not sweep its streak across the whole view.
const float kNearestTail = 0.25;
// Off the clip volume on every side: a vertex of a particle not drawn.
const vec4 kUnseen = vec4(2.0, 2.0, 2.0, 1.0);

// Where the particle was the given number of ticks ago, in view space (the
// eye looking along +z).
vec3 TailOf(vec3 head, vec3 velocity, float ticks)
{
    if (velocity.z > 0.0)
        ticks = min(ticks, (1.0 - kNearestTail) * head.z / velocity.z);
    return head - velocity * ticks;
}

void main()
{
    vec3 head = (vec4(iPosition.xyz, 1.0) * worldMatrix * viewMatrix).xyz;
    vec3 velocity = (vec4(iVelocity, 0.0) * worldMatrix * viewMatrix).xyz;
    float size = abs(iPosition.w);  // a mission's burst may give a negative one
    float headDepth = head.z;
    vCellOrigin = CellCoordinates(vec2(0.0), iCell);
    vCellSpan = CellCoordinates(vec2(1.0), iCell) - vCellOrigin;
    vColour = iColour;
    vQuad = position.xy;
    vReach = 1.0;
    if (headDepth <= kNearestHead || size <= 0.0) {
        gl_Position = kUnseen;
        return;
    }
    vec3 tail = TailOf(head, velocity, 2.0 * velocityStretch * size);
    float tailDepth = tail.z;
    // The streak as the eye sees it, measured at the head's distance.
    vec2 run = head.xy - tail.xy * (headDepth / tailDepth);
    float runLength = length(run);
    vec2 along = runLength > 1e-4 ? run / runLength : vec2(0.0, 1.0);
    vec2 side = vec2(along.y, -along.x);
    bool atHead = position.y > 0.0;
    vec4 corner = vec4(atHead ? head : tail, 1.0);
    corner.xy += (along * position.y + side * position.x) * size * (atHead ? 1.0 : tailDepth / headDepth);
    gl_Position = QelToTarget(corner * projectionMatrix);
    vReach = 1.0 + runLength / (2.0 * size);
    vQuad.y *= vReach;
}
