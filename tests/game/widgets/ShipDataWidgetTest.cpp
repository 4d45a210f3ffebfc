// The ship-data panel on recording services with a world of its own: the
// standby text without a ship (and nothing when there is none to show), the
// rows and bars of a ship, the colours and pulse of the system boxes, the
// torpedo rows of described types only, and a short box that keeps its bars.

#include "game/widgets/ShipDataWidget.h"

#include "game/behaviours/PlayerShipKeys.h"
#include "game/ui/TextLog.h"
#include "game/widgets/ConsoleState.h"
#include "game/world/ServerStringMap.h"
#include "game/world/Simulation.h"
#include "game/world/SpaceObject.h"
#include "tests/game/ui/UITestFixture.h"

#include <cmath>

namespace {

using qeltest::DrawRecord;

constexpr IntRect kBox{100, 100, 400, 400};

class ShipDataWidgetTest : public UITest {
protected:
    void SetUp() override
    {
        UITest::SetUp();
        ServerStringMap::Instance().Clear();
        world.Reset(true, "");
    }
    void TearDown() override
    {
        ServerStringMap::Instance().Clear();
        UITest::TearDown();
    }

    SpaceObject& MakeShip()
    {
        SpaceObject* ship = world.GetSpaceObject(world.CreateSpaceObject("", "", 0));
        world.subjectID = ship->uniqueID;
        ship->side = "Blue";
        ObjectDataBlob& data = ship->data_set;
        WriteString(data, playership::kNameTag, "Valiant");
        WriteFloat(data, playership::kEnergy, 500.0f);
        WriteString(data, playership::kDockState, "undocked");
        WriteFloat(data, playership::kShieldVal, 40.0f, 0);
        WriteFloat(data, playership::kShieldMaxVal, 80.0f, 0);
        WriteFloat(data, playership::kShieldVal, -5.0f, 1);
        WriteFloat(data, playership::kShieldMaxVal, 80.0f, 1);
        // Healths 1, 0.5, 0.3 and (no maximum) 0.
        const float damage[4] = {0.0f, 5.0f, 7.0f, 3.0f}, maximum[4] = {10.0f, 10.0f, 10.0f, 0.0f};
        for (int32_t j = 0; j < 4; ++j) {
            WriteFloat(data, playership::kSystemDamage, damage[j], j);
            WriteFloat(data, playership::kSystemMaxDamage, maximum[j], j);
        }
        return *ship;
    }

    void Draw(IntRect rect = kBox)
    {
        Frame([&] { ViewShipDataDraw(console, rect, "ship_data"); });
    }

    // The white fills (bars) whose top lies at y, in drawing order.
    std::vector<DrawRecord> BarsAt(float top) const
    {
        return graphics.Where([&](const DrawRecord& r) {
            return r.kind == DrawRecord::Kind::Quad && r.source == "smallWhite" && r.Top() == top;
        });
    }

    ConsoleState console;
    Simulation world;
};

TEST_F(ShipDataWidgetTest, WithoutAShipOneStandbyTextShowsAndAnEmptyListShowsNothing)
{
    const std::vector<std::string> saved = AppData::StandbyTexts();
    AppData::SetStandbyTexts({"Awaiting orders"});
    Draw();
    EXPECT_EQ(graphics.Texts(), (std::vector<std::string>{"Awaiting orders"}));
    EXPECT_EQ(graphics.Text("Awaiting orders").box.top, kBox.top + 35);

    AppData::SetStandbyTexts({});
    console.shipData = ShipDataState{};  // a console as new
    Draw();
    EXPECT_TRUE(graphics.Texts().empty());
    AppData::SetStandbyTexts(saved);
}

TEST_F(ShipDataWidgetTest, AShipShowsItsRowsBarsAndSystemHealth)
{
    MakeShip();
    Draw();
    const std::vector<std::string> texts = graphics.Texts();
    for (const char* text : {"Blue", "Valiant", "Energy", "500", "State", "undocked", "FRNT SHLD", "40", "REAR SHLD",
                             "0", "WEAP", "ENGN", "SENS", "SHLD"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end()) << text;

    // Energy 500 of 1000 fills half the right half, yellow-green.
    const auto energy = BarsAt(kBox.top + 63);
    ASSERT_EQ(energy.size(), 2u);
    EXPECT_EQ(energy[1].Left(), 250.0f);
    EXPECT_EQ(energy[1].Right(), 325.0f);
    EXPECT_EQ(energy[1].colour, glm::vec4(0.5f, 0.5f, 0.0f, 1.0f));
    // The rear shield below zero shows an empty bar.
    const auto rear = BarsAt(kBox.top + 133);
    ASSERT_EQ(rear.size(), 2u);
    EXPECT_EQ(rear[1].Right(), rear[1].Left());

    // System labels: main colour when healthy, yellow below 80 %, red below 40 %.
    const glm::vec4 main = ui.mainColour;
    EXPECT_EQ(graphics.Text("WEAP").colour, main);
    EXPECT_EQ(graphics.Text("ENGN").colour, glm::vec4(0.5f, 0.5f, 0.0f, 1.0f));
    EXPECT_EQ(graphics.Text("SENS").colour, glm::vec4(0.5f, 0.0f, 0.0f, 1.0f));
    // No maximum: health 0, red and pulsing with the world's ticks.
    const float pulse = (std::sin(static_cast<float>(world.TickCount()) / 5.0f) + 1.0f) / 2.0f;
    EXPECT_EQ(graphics.Text("SHLD").colour, glm::vec4(pulse / 2.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_EQ(graphics.Text("WEAP").box.right, kBox.right);
    EXPECT_EQ(graphics.Text("ENGN").box.right, kBox.right - 84);
}

TEST_F(ShipDataWidgetTest, TheEnergyBarIsFullFromAThousandAndPulsesFromTwoHundredDown)
{
    SpaceObject& ship = MakeShip();
    struct Case {
        float energy;
        float fill;  // of the bar's width
        bool pulses;
    };
    for (const Case c : {Case{1000.0f, 1.0f, false}, Case{5000.0f, 1.0f, false}, Case{200.0f, 0.2f, true},
                         Case{-10.0f, 0.0f, true}}) {
        WriteFloat(ship.data_set, playership::kEnergy, c.energy);
        Draw();
        const auto bar = BarsAt(kBox.top + 63);
        ASSERT_EQ(bar.size(), 2u);
        EXPECT_FLOAT_EQ(bar[1].Right() - bar[1].Left(), 150.0f * c.fill) << c.energy;
        const float green = bar[1].colour.g;
        EXPECT_EQ(green == c.fill, !c.pulses || c.fill == 0.0f) << c.energy;
    }
}

TEST_F(ShipDataWidgetTest, OnlyDescribedTorpedoTypesTakeRowsAndAShortBoxKeepsItsBars)
{
    SpaceObject& ship = MakeShip();
    WriteString(ship.data_set, playership::kTorpedoTypesAvailable, "homing,ghost,nuke");
    ServerStringMap::Instance().ApplyReceived("homing", "gui_text:Homing");
    ServerStringMap::Instance().ApplyReceived("nuke", "gui_text:Nuke");
    Draw({100, 100, 400, 500});
    EXPECT_EQ(graphics.Text("Homing").box.top, 285);
    EXPECT_EQ(graphics.Text("Nuke").box.top, 305);
    EXPECT_EQ(graphics.Text("ghost").text, "");

    // 70 pixels: the name and energy rows only, every bar and system box still.
    Draw({100, 100, 400, 170});
    const std::vector<std::string> texts = graphics.Texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "State"), 0);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "FRNT SHLD"), 0);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Homing"), 0);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "WEAP"), 1);
    EXPECT_EQ(BarsAt(100 + 113).size(), 2u);
}

TEST_F(ShipDataWidgetTest, TheConsoleLogHearsOfEachNewShipNameOnce)
{
    const auto nameLines = [] {
        std::vector<std::string> lines;
        for (const TextLogLine& line : theConsoleLog)
            if (line.text.rfind("so->blob.Get(name_tag) change to  ", 0) == 0)
                lines.push_back(line.text);
        return lines;
    };
    SpaceObject& ship = MakeShip();
    theConsoleLog.Clear();
    Draw();
    Draw();
    ASSERT_EQ(nameLines().size(), 1u);
    EXPECT_EQ(nameLines()[0].rfind("so->blob.Get(name_tag) change to  Valiant ", 0), 0u);
    WriteString(ship.data_set, playership::kNameTag, "Resolute");
    Draw();
    EXPECT_EQ(nameLines().size(), 2u);
    theConsoleLog.Clear();
}

}  // namespace
