// Value noise for the procedural shaders: smooth in 0..1, and its fractal
// sum over octaves.

float QelHash(vec3 p)
{
    p = fract(p * 0.3183099 + vec3(0.71, 0.113, 0.419));
    p *= 17.0;
    return fract(p.x * p.y * p.z * (p.x + p.y + p.z));
}

float QelNoise(vec3 x)
{
    vec3 i = floor(x);
    vec3 f = fract(x);
    f = f * f * (3.0 - 2.0 * f);
    return mix(mix(mix(QelHash(i), QelHash(i + vec3(1, 0, 0)), f.x),
                   mix(QelHash(i + vec3(0, 1, 0)), QelHash(i + vec3(1, 1, 0)), f.x), f.y),
               mix(mix(QelHash(i + vec3(0, 0, 1)), QelHash(i + vec3(1, 0, 1)), f.x),
                   mix(QelHash(i + vec3(0, 1, 1)), QelHash(i + vec3(1, 1, 1)), f.x), f.y),
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
