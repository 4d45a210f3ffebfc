// The shape of a nebula's cloud, shared by the bake of its density grid and
// the march through it. Positions are the cloud's own: from its centre, in
// radii. Needs the nebula volume's constants.

// The cloud fills a ball: solid to kInnerReach of the radius, thinning to
// nothing at kOuterReach, the box's half size.
const float kInnerReach = 0.2;
const float kOuterReach = 0.55;
// Noise below this level is clear space, which gives the cloud its gaps.
const float kClearLevel = 0.6;
const float kDetailWeight = 0.25;
// Slack on the reach the cloud can fill, in radii, for rounding.
const float kReachMargin = 0.005;

// Where the nebula's seed puts its cloud in the noise.
vec3 CloudSeed()
{
    return vec3(float(randomSeed % 97), float(randomSeed % 89), float(randomSeed % 83)) * 1.37;
}

// How far out, in radii, the cloud can hold anything: past it the ball has
// thinned so far that even the strongest noise stays under the clear level.
// The noise sums lie in 0..1; the shape's smoothstep is a cubic that
// inverts in closed form.
float CloudReach()
{
    float detailMost = max(detailAmplitude, 0.0) * kDetailWeight;
    float baseMost = max(baseAmplitude, 0.0);
    if (detailMost >= kClearLevel)
        return kOuterReach;
    if (baseMost + detailMost <= kClearLevel)
        return 0.0;
    float thinnest = (kClearLevel - detailMost) / baseMost;
    float across = 0.5 - sin(asin(2.0 * thinnest - 1.0) / 3.0);
    return min(kInnerReach + (kOuterReach - kInnerReach) * across + kReachMargin, kOuterReach);
}
