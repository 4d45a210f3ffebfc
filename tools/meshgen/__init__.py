"""Generators of the game's meshes and their textures (OBJ, MTL, PNG)."""
