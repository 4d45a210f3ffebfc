// The particle pixel: the sprite tinted by the instance's colour.
//
// A streak is its sprite swept from the tail to the head, as light smeared
// across the eye: the whole sprite at the head, where the particle is now,
// and behind it the sprite's middle row drawn out along the streak and
// capped at the tail by the sprite's back half. The light fades from the
// head, brightest, to nothing at the tail, so a fast particle draws a
// streak with a soft core and soft ends, not its sprite pulled out into a
// bar, and a flare keeps its rays. A particle that hardly moves stays its
// sprite.

uniform sampler2D shaderTexture;

noperspective in vec2 vQuad;
flat in float vReach;
flat in vec2 vCellOrigin;
flat in vec2 vCellSpan;
in vec4 vColour;
out vec4 fragColour;

// How sharply a streak's light falls off from its head toward its tail.
const float kTailFalloff = 2.0;

// 1 at the head to 0 at the tail, for a streak at least two sprite radii
// longer than its sprite; shorter ones fade less, down to none at rest.
float Trail(float sweptTo, float sweep)
{
    if (sweep <= 0.0)
        return 1.0;
    float fromTail = (sweptTo + sweep) / (2.0 * sweep);
    return mix(1.0, pow(fromTail, kTailFalloff), min(sweep, 1.0));
}

// The sheet's texel at a point of the sprite (x, y in -1..1, y up); nothing
// off the sprite, where the sheet holds its neighbours. Sampled everywhere,
// so the texture's level of detail is known at every pixel.
vec4 Sprite(vec2 inSprite)
{
    vec2 uv = vec2(inSprite.x + 1.0, 1.0 - inSprite.y) * 0.5;
    vec4 texel = texture(shaderTexture, vCellOrigin + uv * vCellSpan);
    return all(lessThanEqual(abs(inSprite), vec2(1.0))) ? texel : vec4(0.0);
}

void main()
{
    float sweep = vReach - 1.0;
    float sweptTo = clamp(vQuad.y, -sweep, sweep);
    vec4 swept = Sprite(vec2(vQuad.x, vQuad.y - sweptTo)) * Trail(sweptTo, sweep);
    vec4 head = Sprite(vec2(vQuad.x, vQuad.y - sweep));
    fragColour = max(head, swept) * vColour;
}
