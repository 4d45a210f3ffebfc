// Value noise for the procedural shaders: smooth in 0..1, and its fractal
// sum over octaves.

// The hash of a lattice point scrambles each of its axes on its own, then
// mixes the three, so the corners of a cell can share the scrambled axes.
vec3 QelHashAxes(vec3 p)
{
    return fract(p * 0.3183099 + vec3(0.71, 0.113, 0.419)) * 17.0;
}

float QelHashMix(float x, float y, float z)
{
    return fract(x * y * z * (x + y + z));
}

// The eight corners' hashes come from the scrambled axes of the cell's two
// planes along each axis: six scrambles instead of twenty-four.
float QelNoise(vec3 x)
{
    vec3 i = floor(x);
    vec3 f = fract(x);
    f = f * f * (3.0 - 2.0 * f);
    vec3 a = QelHashAxes(i);
    vec3 b = QelHashAxes(i + 1.0);
    return mix(mix(mix(QelHashMix(a.x, a.y, a.z), QelHashMix(b.x, a.y, a.z), f.x),
                   mix(QelHashMix(a.x, b.y, a.z), QelHashMix(b.x, b.y, a.z), f.x), f.y),
               mix(mix(QelHashMix(a.x, a.y, b.z), QelHashMix(b.x, a.y, b.z), f.x),
                   mix(QelHashMix(a.x, b.y, b.z), QelHashMix(b.x, b.y, b.z), f.x), f.y),
               f.z);
}

// octaves layers, each lacunarity times finer and gain times fainter; 0..1.
float QelFbm(vec3 p, int octaves, float lacunarity, float gain)
{
    float sum = 0.0, amplitude = 1.0, total = 0.0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * QelNoise(p);
        total += amplitude;
        p *= lacunarity;
        amplitude *= gain;
    }
    return total > 0.0 ? sum / total : 0.0;
}
