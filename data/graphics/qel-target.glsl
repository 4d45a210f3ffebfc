// The render target's orientation, for every 3D vertex shader: clip
// positions are mirrored in y while a bitmap is the target (so rendered
// bitmaps keep their rows top first), and the engine's depth 0..1 becomes
// OpenGL's -1..1.
layout(std140) uniform QelTarget {
    vec4 targetFlip;  // x: 1 for the screen, -1 for a bitmap
};

vec4 QelToTarget(vec4 clip)
{
    clip.y *= targetFlip.x;
    clip.z = clip.z * 2.0 - clip.w;
    return clip;
}
