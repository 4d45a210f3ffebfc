// Where the view ray through a pixel meets the planet: a sphere of the
// given radius about the world matrix's centre, squashed in y by its
// oblateness (1: round).

struct PlanetHit {
    bool hit;
    vec3 point;    // on the unit sphere of the planet's own space
    vec3 normal;   // world
    float near;    // world distances along the ray where it enters and leaves
    float far;
};

vec3 PlanetCentre()
{
    return (vec4(0.0, 0.0, 0.0, 1.0) * worldMatrix).xyz;
}

vec3 CameraWorld()
{
    return -camPos.xyz;
}

PlanetHit TracePlanet(vec3 worldPosition)
{
    PlanetHit result;
    result.hit = false;
    float r = max(radius, 1e-4);
    vec3 squash = vec3(1.0, 1.0 / max(oblateness, 0.05), 1.0) / r;
    vec3 origin = (CameraWorld() - PlanetCentre()) * squash;
    vec3 ray = normalize(worldPosition - CameraWorld());
    vec3 d = ray * squash;
    float a = dot(d, d);
    float b = dot(origin, d);
    float c = dot(origin, origin) - 1.0;
    float disc = b * b - a * c;
    if (disc < 0.0)
        return result;
    float root = sqrt(disc);
    result.near = max((-b - root) / a, 0.0);
    result.far = (-b + root) / a;
    if (result.far <= 0.0)
        return result;
    result.hit = true;
    result.point = origin + d * result.near;
    result.normal = normalize(result.point * squash);
    return result;
}

// The depth the hit point would have had, so the planet hides what lies
// behind it and not what lies in front.
float PlanetDepth(PlanetHit hit)
{
    vec3 world = CameraWorld() + normalize(vWorldPosition - CameraWorld()) * hit.near;
    vec4 clip = vec4(world, 1.0) * viewMatrix * projectionMatrix;
    return clamp(clip.z / clip.w, 0.0, 1.0);
}
