#version 330 core
// IPTCell: billboards each showing one cell of a sprite sheet of 4 x 4
// cells, numbered along the rows from the top left.

const float kSheetSide = 4.0;

vec2 CellCoordinates(vec2 uv, float cell)
{
    float index = mod(floor(cell + 0.5), kSheetSide * kSheetSide);
    return (uv + vec2(mod(index, kSheetSide), floor(index / kSheetSide))) / kSheetSide;
}

#include "particle-billboard.glsl"
