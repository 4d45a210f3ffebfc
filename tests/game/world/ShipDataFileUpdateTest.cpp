// The hull viewer's write-back into data/shipData.yaml: the numbers of the
// key's records change in place and every other byte of the hand-written
// file stays; a file that cannot be kept in place is written whole; a write,
// read or parse that fails leaves the old file as it was.

#include "game/world/ShipDataFileUpdate.h"

#include "helper/Hjson.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// Two records of the key (both change), one other; port sets that are and
// are not scaled, a port without a position, comments and CRLF line ends.
constexpr const char* kShipData =
    "# Hull types, one record per hull.\r\n"
    "{\r\n"
    "  \"#ship-list\": [\r\n"
    "    {\r\n"
    "      # the scout\r\n"
    "      key: \"scout\"\r\n"
    "      meshscale: 0.1   # mesh units to world units\r\n"
    "      hull_port_sets: {\r\n"
    "        beam_forward: [\r\n"
    "          { position: [-40, 0.5, 120], arcwidth: 90 }\r\n"
    "          { arcwidth: 45 }\r\n"
    "        ]\r\n"
    "        exhaust: [ { position: [0, 0, -150] } ]\r\n"
    "        torpedo: [ { position: [10, 10, 10] } ]\r\n"
    "      }\r\n"
    "    }\r\n"
    "    {\r\n"
    "      key: \"hauler\"  // another hull\r\n"
    "      meshscale: 3\r\n"
    "    }\r\n"
    "    { key: \"scout\", meshscale: 2 }\r\n"
    "  ]\r\n"
    "}\r\n";

class ShipDataFileUpdateTest : public ::testing::Test {
protected:
    std::filesystem::path File() const { return data.Path() / "shipData.yaml"; }

    void Store(const std::string& text)
    {
        std::ofstream(File(), std::ios::binary) << text;
    }

    std::string Stored() const
    {
        std::ifstream in(File(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    int TemporaryFilesLeft() const
    {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(data.Path()))
            count += entry.path().filename().string().find(".tmp") != std::string::npos ? 1 : 0;
        return count;
    }

    qeltest::TempFolder data;
    qeltest::ScopedEnv dataFolder{"QEL_DATA_DIR", data.Path().string()};
};

TEST_F(ShipDataFileUpdateTest, only_the_scaled_numbers_change_and_every_comment_stays)
{
    Store(kShipData);
    const ShipDataFileUpdate update = UpdateShipDataFile("scout", 2.0f, 0.5f);
    EXPECT_TRUE(update.written) << update.message;
    EXPECT_TRUE(update.commentsKept);
    EXPECT_EQ(update.recordsChanged, 2);

    // 0.1 × 2 in single precision keeps the digits of the float.
    std::string expected = kShipData;
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"meshscale: 0.1   #", "meshscale: 0.20000000298023224   #"},
                                   {"[-40, 0.5, 120]", "[-20.0, 0.25, 60.0]"},
                                   {"[0, 0, -150]", "[0.0, 0.0, -75.0]"},
                                   {"meshscale: 2 }", "meshscale: 4.0 }"}})
        expected.replace(expected.find(from), from.size(), to);
    EXPECT_EQ(Stored(), expected);
    EXPECT_EQ(TemporaryFilesLeft(), 0);

    const Hjson::Value reread = Hjson::Unmarshal(Stored());
    EXPECT_EQ(reread["#ship-list"][1]["meshscale"].to_double(), 3.0) << "another key's record is untouched";
    EXPECT_EQ(reread["#ship-list"][0]["hull_port_sets"]["torpedo"][0]["position"][0].to_double(), 10.0)
        << "a set neither beam nor exhaust is not scaled";
}

TEST_F(ShipDataFileUpdateTest, a_document_that_cannot_be_kept_in_place_is_written_whole_with_every_key)
{
    // A key given twice: the text no longer lines up with the document read from it.
    Store("{ \"#ship-list\": [ { key: \"scout\", meshscale: 1, meshscale: 5, name: \"Scout\" } ] }\n");
    const ShipDataFileUpdate update = UpdateShipDataFile("scout", 2.0f, 1.0f);
    EXPECT_TRUE(update.written) << update.message;
    EXPECT_FALSE(update.commentsKept);
    const Hjson::Value reread = Hjson::Unmarshal(Stored());
    EXPECT_EQ(reread["#ship-list"][0]["meshscale"].to_double(), 10.0);
    EXPECT_EQ(reread["#ship-list"][0]["name"].to_string(), "Scout");
}

TEST_F(ShipDataFileUpdateTest, nothing_is_written_for_an_unknown_key_a_broken_file_or_no_file)
{
    EXPECT_FALSE(UpdateShipDataFile("scout", 2.0f, 2.0f).written) << "no file";

    Store(kShipData);
    const ShipDataFileUpdate unknown = UpdateShipDataFile("dreadnought", 2.0f, 2.0f);
    EXPECT_FALSE(unknown.written);
    EXPECT_NE(unknown.message.find("dreadnought"), std::string::npos) << unknown.message;
    EXPECT_EQ(Stored(), kShipData);

    const std::string broken = std::string(kShipData) + "  ]\r\n";
    Store(broken);
    const ShipDataFileUpdate parse = UpdateShipDataFile("scout", 2.0f, 2.0f);
    EXPECT_FALSE(parse.written);
    EXPECT_NE(parse.message.find("does not parse"), std::string::npos) << parse.message;
    EXPECT_EQ(Stored(), broken);
}

// Files may grow no larger than a few bytes, so the new file cannot be
// written (this works for root too, whom permissions do not stop).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limited = old_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST_F(ShipDataFileUpdateTest, a_failed_write_leaves_the_old_file_whole)
{
    Store(kShipData);
    ShipDataFileUpdate update;
    {
        const FileSizeLimit limit(16);
        update = UpdateShipDataFile("scout", 2.0f, 0.5f);
    }
    EXPECT_FALSE(update.written);
    EXPECT_NE(update.message.find("Could not write"), std::string::npos) << update.message;
    EXPECT_EQ(Stored(), kShipData);
    EXPECT_EQ(TemporaryFilesLeft(), 0);
}

}  // namespace
