#pragma once
// The two network ends of this process, which the game loop owns, as handed
// to the screens that show and steer them. Either may be null: a test or a
// tool may run one side only, or none.

class CorvaneClient;
class CorvaneServer;

struct GameNetwork {
    CorvaneClient* client = nullptr;
    CorvaneServer* server = nullptr;

    bool operator==(const GameNetwork&) const = default;
};
