// The nebula target read softened, so the blocks of the smaller target it
// was marched into do not show when it is stretched over the view. Four
// filtered reads half a texel off the point on each diagonal average it with
// its neighbours, 1-2-1 across and down, as nine reads of single texels would.

vec4 SoftenedVolume(sampler2D volume, vec2 at)
{
    vec2 halfTexel = 0.5 / vec2(textureSize(volume, 0));
    vec4 sum = texture(volume, at + halfTexel);
    sum += texture(volume, at - halfTexel);
    sum += texture(volume, at + vec2(halfTexel.x, -halfTexel.y));
    sum += texture(volume, at + vec2(-halfTexel.x, halfTexel.y));
    return sum * 0.25;
}
