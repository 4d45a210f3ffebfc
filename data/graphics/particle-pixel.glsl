// The particle pixel: the texture tinted by the instance's colour.

uniform sampler2D shaderTexture;

in vec2 vTexCoord;
in vec4 vColour;
out vec4 fragColour;

void main()
{
    fragColour = texture(shaderTexture, vTexCoord) * vColour;
}
