#pragma once
// Setting up a player ship's keyed values: the defaults every player ship
// starts with, and what its ship record and the preferences give it. The
// player-ship behaviour runs both when it is assigned; mission scripts call
// them too.

class Simulation;
class SpaceObject;

// Shared by every player ship and refreshed from the preferences each time the
// behaviour is assigned; the engineering pass spends energy by them.
struct PlayerShipEnergyCoefficients {
    float fuelUse = 0.0f;        // "player-fuel-use-coeff": cost of throttle
    float baseEnergyUse = 0.0f;  // "player-base-energy-use-coeff": cost of powered subsystems
    float heatUp = 0.0f;         // "player_heat_up_coeff": heat a slider above normal adds
    float coolant = 0.0f;        // "player_coolant_coeff": heat a unit of coolant takes away
    float shieldsRaised = 1.0f;  // "player-shields-raised-energy-coeff": subsystem cost with shields up
};

PlayerShipEnergyCoefficients& PlayerShipCoefficients();
void RefreshPlayerShipCoefficients();

// Writes every default into the ship's data set, overwriting what is there:
// full energy, sliders at normal power, new shield frequency strengths drawn
// from the world's generator.
void PlayerShipSetupDefaults(SpaceObject* ship, Simulation& world);

// Writes what the ship's record (found by its data_tag; a miss gets the
// "unknown" record) and the preferences define: hull information, drive and
// energy costs, torpedo storage, tubes, shields, beams and engineering colours.
void PlayerShipSetupFromData(SpaceObject* ship);
