#include <gtest/gtest.h>

#include "game/GameTestSupport.h"

namespace tamblor {
namespace {

using test::GameWorld;

// Drops the held shape on a cell by clicking on it.
void DropOn(GameWorld& w, int line, int k) {
    w.ClickAt(w.Cell(line, k).x, w.Cell(line, k).y);
}

std::vector<std::string> RisingTexts(const GameWorld& w) {
    std::vector<std::string> texts;
    for (int i = 0; i < w.effects.Count(); ++i) {
        if (w.effects.At(i).kind == EffectRisingText)
            texts.emplace_back(w.effects.At(i).Text());
    }
    return texts;
}

TEST(Placing, RunsOfOneClassScoreMoreAndTheSoundNumberStopsAtSeven) {
    GameWorld w;
    w.UseClasses(3);
    w.SetBoard({
        "00000",
        "11111",
        ".....",
        "11111",
        ".....",
        ".....",
    });
    int scores[] = {50, 100, 150};
    for (int k = 0; k < 3; ++k) {
        w.Hold(0);
        int before = w.game.score;
        DropOn(w, 0, k);
        EXPECT_EQ(w.game.score - before, scores[k]);
    }
    EXPECT_EQ(w.sound.played,
              (std::vector<std::string>{"place_shape", "place_shape_bonus_1", "place_shape_bonus_2"}));
    EXPECT_EQ(RisingTexts(w), (std::vector<std::string>{"50", "BonusScore", "100", "BonusScore", "150"}));
    // The score texts rise from above the cell; the run's texts last 2 s, a plain one 0.8 s.
    const Effect& last = w.effects.At(w.effects.Count() - 1);
    EXPECT_FLOAT_EQ(last.y, w.Cell(0, 2).y - 0.059375f);
    EXPECT_FLOAT_EQ(last.duration, 2.0f);
    EXPECT_FLOAT_EQ(w.effects.At(w.effects.Count() - 2).y, w.Cell(0, 2).y - 0.059375f - 0.05f);

    // Another class breaks the run.
    w.Hold(1);
    DropOn(w, 1, 0);
    EXPECT_EQ(w.game.score, 350);
    EXPECT_EQ(w.game.comboCount, 0);
    EXPECT_EQ(w.sound.played.back(), "place_shape");

    // A run of ten: from the eighth on the sound keeps the number 7, the points keep growing.
    w.sound.played.clear();
    for (int k = 1; k < 10; ++k) {
        w.Hold(1);
        int before = w.game.score;
        if (k < 5) {
            DropOn(w, 1, k);
        } else {
            DropOn(w, 3, k - 5);
        }
        EXPECT_EQ(w.game.score - before, 50 * k + 50);
    }
    std::vector<std::string> placeSounds;
    for (const auto& s : w.sound.played) {
        if (s.rfind("place_shape", 0) == 0)
            placeSounds.push_back(s);
    }
    ASSERT_EQ(placeSounds.size(), 9u);
    EXPECT_EQ(placeSounds[5], "place_shape_bonus_6");
    EXPECT_EQ(placeSounds[6], "place_shape_bonus_7");
    EXPECT_EQ(placeSounds[8], "place_shape_bonus_7");
    EXPECT_EQ(w.sound.Count("remove_line"), 2);  // lines 1 and 3 were completed on the way
    EXPECT_EQ(w.game.comboCount, 9);
}

TEST(Placing, ShapeMustMatchUnlessItIsABonusAndThePanelAreaIsNoTarget) {
    GameWorld w;
    w.UseClasses(2, 2);
    w.SetBoard({"0000", "1111", "....", "....", "....", "...."});
    w.game.cells[1].shapeIndex = 1;
    // Right class, other shape: the shape stays held.
    w.Hold(0, 0);
    DropOn(w, 0, 1);
    EXPECT_EQ(w.game.held.present, 1);
    EXPECT_EQ(w.Cell(0, 1).filled, 0);
    // Another class: stays held too.
    DropOn(w, 1, 0);
    EXPECT_EQ(w.game.held.present, 1);
    // Off every cell (between two of them): nothing.
    w.ClickAt(w.Cell(0, 0).x + 0.045f, w.Cell(0, 0).y);
    EXPECT_EQ(w.game.held.present, 1);
    // The right shape goes in with its glow.
    w.Hold(0, 1);
    DropOn(w, 0, 1);
    EXPECT_EQ(w.game.held.present, 0);
    EXPECT_EQ(w.Cell(0, 1).filled, 1);
    ASSERT_GE(w.effects.Count(), 1);
    const Effect& glow = w.effects.At(0);
    EXPECT_EQ(glow.kind, EffectTrackingGlow);
    EXPECT_EQ(glow.xPointer, &w.Cell(0, 1).x);
    EXPECT_EQ(glow.texture, w.textures.Handle("Shapes\\c0_s1.png"));
    // A filled cell takes nothing more.
    w.Hold(0, 1);
    DropOn(w, 0, 1);
    EXPECT_EQ(w.game.held.present, 1);
    // An any-shape bonus fits another class: a burst, no other cell filled; same class keeps the run.
    w.Hold(0, 0, BonusAnyShape);
    DropOn(w, 0, 2);
    EXPECT_EQ(w.Cell(0, 2).filled, 1);
    EXPECT_EQ(w.game.comboCount, 1);
    EXPECT_EQ(w.BoardPicture()[0], ".##.");
    const Effect& burst = w.effects.At(w.effects.Count() - 3);
    EXPECT_EQ(burst.kind, EffectParticleBurst);
    EXPECT_FLOAT_EQ(burst.size, 0.03f);
    EXPECT_FLOAT_EQ(burst.radius, 0.1f);
    EXPECT_FLOAT_EQ(burst.duration, 0.5f);
    EXPECT_EQ(burst.texture, w.textures.Handle("Graphics\\particleq.png"));
    EXPECT_FLOAT_EQ(burst.particles[3].direction, static_cast<float>(3 * 2 * 3.14159265358979 / 10));

    // Over the panel area nothing is placed, even on a cell lying there.
    ShapeItem& low = w.game.cells[3];
    low.y = 0.87f;
    w.Hold(0, 0);
    w.ClickAt(low.x, 0.87f);
    EXPECT_EQ(low.filled, 0);
    low.y = 0.84f;
    w.ClickAt(low.x, 0.84f);
    EXPECT_EQ(low.filled, 1);

    // Without a button edge nothing happens; a release edge places (drag and drop).
    w.Hold(1);
    w.MouseAt(w.Cell(1, 0).x, w.Cell(1, 0).y);
    w.mouse.UpdateMouseButtons(w.input);
    w.game.TryPlace(false);
    EXPECT_EQ(w.game.held.present, 1);
    w.Left(true);
    w.mouse.UpdateMouseButtons(w.input);
    w.game.TryPlace(true);  // the frame that took the shape never places it
    EXPECT_EQ(w.game.held.present, 1);
    w.Left(false);
    w.mouse.UpdateMouseButtons(w.input);
    w.game.TryPlace(false);
    EXPECT_EQ(w.game.held.present, 0);
}

TEST(Placing, BandBonusFillsItsLineWhichIsRemovedAndScoresOnce) {
    GameWorld w;
    w.UseClasses(3);
    w.SetBoard({
        "#####.",
        "##1#11",
        "#####.",
        "......",
        "......",
        "......",
    });
    w.Hold(2, 0, BonusBand);
    DropOn(w, 1, 2);
    EXPECT_EQ(w.BoardPicture(), (std::vector<std::string>{
                                    "#####.",
                                    "------",
                                    "#####.",
                                    "......",
                                    "......",
                                    "......",
                                }));
    EXPECT_EQ(w.game.score, 50);
    EXPECT_EQ(w.sound.Count("remove_line"), 1);
    EXPECT_EQ(w.game.linesLeft, 5);
    EXPECT_EQ(w.game.lines[1].removed, 1);
    EXPECT_EQ(w.game.lines[0].removed, 0);
}

TEST(Placing, AreaBonusCompletingTwoLinesRemovesBoth) {
    GameWorld w;
    w.UseClasses(2);
    w.SetBoard({
        "##.#",
        "#..#",
        "..##",
        "....",
        "....",
        "....",
    });
    w.Hold(1, 0, BonusArea);
    DropOn(w, 1, 1);
    // The area reaches the cells above and below in the line and the two nearest in each neighbour.
    EXPECT_EQ(w.BoardPicture(), (std::vector<std::string>{
                                    "##.#",
                                    "----",
                                    "----",
                                    "....",
                                    "....",
                                    "....",
                                }));
    EXPECT_EQ(w.sound.Count("remove_line"), 2);
    EXPECT_EQ(w.sound.Count("fill_area"), 1);
    EXPECT_EQ(w.game.linesLeft, 4);
    EXPECT_EQ(w.game.score, 50);
    w.Run(1100);
    // Lines 1 and 2 went; line 0 closes up two pitches to the right, the right group stays.
    EXPECT_FLOAT_EQ(w.game.lines[0].x, 0.29f + 2 * 0.11875f);
    EXPECT_FLOAT_EQ(w.Cell(0, 3).x, 0.29f + 2 * 0.11875f);
    EXPECT_FLOAT_EQ(w.game.lines[3].x, 0.29f + 3 * 0.11875f);
    EXPECT_FLOAT_EQ(w.game.lines[1].alpha, 0.0f);
}

TEST(Placing, RemovedLinesCloseUpTowardTheMiddle) {
    GameWorld w;
    w.UseClasses(1);
    w.SetBoard({
        "....",
        "....",
        "###.",
        "###.",
        "....",
        "....",
    });
    w.Hold(0);
    DropOn(w, 2, 3);
    EXPECT_EQ(w.game.lines[2].removed, 1);
    w.Run(500);
    EXPECT_NEAR(w.game.lines[0].x, 0.29f + 0.5f * 0.11875f, 0.002);  // one frame only starts the glide
    // Half way, line 3 goes too: lines 4 and 5 close up leftward; lines 0 and 1 keep sliding right.
    w.Hold(0);
    DropOn(w, 3, 3);
    EXPECT_EQ(w.game.linesLeft, 4);
    w.Run(1100);
    EXPECT_FLOAT_EQ(w.game.lines[0].x, 0.29f + 0.11875f);
    EXPECT_FLOAT_EQ(w.game.lines[1].x, 0.29f + 2 * 0.11875f);
    EXPECT_FLOAT_EQ(w.game.lines[4].x, 0.29f + 3 * 0.11875f);
    EXPECT_FLOAT_EQ(w.game.lines[5].x, 0.29f + 4 * 0.11875f);
    EXPECT_FLOAT_EQ(w.Cell(5, 2).x, 0.29f + 4 * 0.11875f);

    // A second removal while the first slide still runs: the line ends exactly a pitch further.
    GameWorld v;
    v.UseClasses(1);
    v.SetBoard({
        "....",
        "###.",
        "###.",
        "....",
        "....",
        "....",
    });
    v.Hold(0);
    DropOn(v, 2, 3);
    v.Run(500);
    v.Hold(0);
    DropOn(v, 1, 3);
    v.Run(1100);
    EXPECT_FLOAT_EQ(v.game.lines[0].x, 0.29f + 2 * 0.11875f);
    EXPECT_FLOAT_EQ(v.Cell(0, 0).x, 0.29f + 2 * 0.11875f);
}

}  // namespace
}  // namespace tamblor
