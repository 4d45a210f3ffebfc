#include "game/net/MessageHooks.h"

#include "engine/base/QelNetworkMessage.h"
#include "engine/net/TransportRules.h"
#include "helper/QelAssert.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

namespace {

enum class Side { Client, Server };

struct Registration {
    Side side;
    std::variant<uint64_t, std::string> key;  // a connection event or a message name
};

uint64_t KeyOf(const Registration& r)
{
    if (const auto* name = std::get_if<std::string>(&r.key))
        return HashMessageName(*name);
    return std::get<uint64_t>(r.key);
}

std::string Describe(const Registration& r)
{
    std::string side = r.side == Side::Client ? "client " : "server ";
    if (const auto* name = std::get_if<std::string>(&r.key))
        return side + '"' + *name + '"';
    return side + "event " + std::to_string(std::get<uint64_t>(r.key));
}

// Every key a side must know. Nothing in this test refers to the files that
// register them, so a registration the linker dropped shows up here. Handler
// families add their rows as they register.
const Registration kRequired[] = {
    {Side::Client, qel::kReservedKey},
    {Side::Client, qel::kConnectedKey},
    {Side::Client, std::string("testValueToClient")},
    {Side::Client, std::string("signal")},
    {Side::Client, qel::kDisconnectedKey},
    {Side::Client, std::string("objectBlob")},
    {Side::Client, std::string("spaceobjectupdate")},
    {Side::Client, std::string("fullobject")},
    {Side::Server, qel::kReservedKey},
    {Side::Server, std::string("testValueToServer")},
    {Side::Server, std::string("signal")},
};

TEST(MessageHooksTest, every_required_key_is_registered_on_its_side)
{
    for (const Registration& r : kRequired) {
        const bool registered = r.side == Side::Client ? GetClientHook(KeyOf(r)) != nullptr
                                                       : GetServerHook(KeyOf(r)) != nullptr;
        EXPECT_TRUE(registered) << Describe(r);
    }
}

TEST(MessageHooksTest, a_second_handler_for_a_key_fails_at_registration)
{
    auto other = [](QelNetworkMessage*, CorvaneClient*) {};
    EXPECT_THROW(RegisterClientHook(qel::kReservedKey, other), qel::AssertionFailure);
    EXPECT_THROW(RegisterServerHook(HashMessageName("testValueToServer"), [](QelNetworkMessage*, uint64_t) {}),
                 qel::AssertionFailure);
}

TEST(MessageHooksTest, looking_up_unknown_keys_from_peers_never_grows_the_tables)
{
    const size_t clientSize = ClientHookMap().Size();
    const size_t serverSize = ServerHookMap().Size();
    for (uint64_t key = 100; key < 1100; ++key) {
        EXPECT_EQ(GetClientHook(key), nullptr);
        EXPECT_EQ(GetServerHook(key), nullptr);
    }
    EXPECT_EQ(ClientHookMap().Size(), clientSize);
    EXPECT_EQ(ServerHookMap().Size(), serverSize);
}

TEST(MessageHooksTest, server_dispatch_passes_the_senders_id_to_the_handler)
{
    static uint64_t seenSender = 0;
    const uint64_t key = HashMessageName("hooksTestSenderProbe");
    RegisterServerHook(key, [](QelNetworkMessage*, uint64_t sender) { seenSender = sender; });
    QelNetworkMessage message;
    message.sender = 501 | (1ull << 63);
    EXPECT_TRUE(CallServerHook(key, message));
    EXPECT_EQ(seenSender, message.sender);
    EXPECT_FALSE(CallClientHook(key, message, nullptr));
}

TEST(MessageHooksTest, client_message_names_are_the_seven_the_server_counts)
{
    EXPECT_EQ(ClientMessageNames(),
              (std::vector<std::string>{"objectBlob", "spaceobjectupdate", "signal", "fullobject", "beam",
                                        "transient", "testValueToClient"}));
}

}  // namespace
