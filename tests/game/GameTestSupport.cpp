#include "game/GameTestSupport.h"

namespace tamblor::test {

void GameWorld::WriteClasses(int count, int shapes) {
    std::string xml = "<?xml version=\"1.0\"?>\n<Level>\n";
    for (int c = 0; c < count; ++c) {
        xml += "  <ShapeClass name=\"c" + std::to_string(c) + "\" soundEvent=\"class" + std::to_string(c) +
               "\">\n";
        for (int s = 0; s < shapes; ++s) {
            std::string stem = "Graphics\\Shapes\\c" + std::to_string(c) + "_s" + std::to_string(s);
            xml += "    <Shape mainImage=\"" + stem + ".png\" maskImage=\"" + stem + "_mask.png\"/>\n";
        }
        xml += "  </ShapeClass>\n";
    }
    xml += "</Level>\n";
    WriteData("classes.xml", xml);
}

void GameWorld::WriteLevel(int level, const std::string& attributes) {
    WriteData("Levels/level_" + std::to_string(level) + ".xml",
              "<?xml version=\"1.0\"?>\n<LevelMap " + attributes + ">\n</LevelMap>\n");
}

void GameWorld::UseClasses(int count, int shapes) {
    game.shapeClassCount = count;
    for (int c = 0; c < count; ++c) {
        ShapeClass& sc = game.levelClasses[static_cast<size_t>(c)];
        sc = ShapeClass{};
        sc.name = "c" + std::to_string(c);
        sc.shapeCount = shapes;
        for (int s = 0; s < shapes; ++s) {
            std::string stem = "Shapes\\c" + std::to_string(c) + "_s" + std::to_string(s);
            sc.shapes[static_cast<size_t>(s)] = {stem + ".png", stem + "_mask.png"};
        }
    }
}

void GameWorld::SetBoard(const std::vector<std::string>& rows) {
    if (game.ShapeCountOf(0) <= 0)
        UseClasses(10);
    int perLine = static_cast<int>(rows.front().size());
    game.lineSpeed = 0.03f;
    game.lineShapeCount = perLine;
    game.BuildGrid(perLine, board::kLineCount);
    game.ResetLines();
    for (int line = 0; line < board::kLineCount; ++line) {
        const std::string& row = rows[static_cast<size_t>(line)];
        bool gone = false;
        for (int k = 0; k < perLine; ++k) {
            ShapeItem& cell = game.cells[static_cast<size_t>(line * perLine + k)];
            char ch = row[static_cast<size_t>(k)];
            cell.shapeIndex = 0;
            cell.classIndex = 0;
            cell.present = 1;
            cell.filled = 0;
            if (ch == '#') {
                cell.filled = 1;
            } else if (ch == '-') {
                cell.filled = 1;
                cell.present = 0;
                gone = true;
            } else if (ch >= '0' && ch <= '9') {
                cell.classIndex = ch - '0';
            } else if (ch >= 'a' && ch <= 'j') {
                cell.classIndex = ch - 'a';
                cell.filled = 1;
            }
        }
        if (gone) {
            game.lines[static_cast<size_t>(line)].removed = 1;
            game.lines[static_cast<size_t>(line)].alpha = 0.0f;
            --game.linesLeft;
        }
    }
}

std::vector<std::string> GameWorld::BoardPicture() const {
    std::vector<std::string> rows;
    for (int line = 0; line < board::kLineCount; ++line) {
        std::string row;
        for (int k = 0; k < game.lineShapeCount; ++k) {
            const ShapeItem& cell = Cell(line, k);
            row += !cell.present ? '-' : (cell.filled ? '#' : '.');
        }
        rows.push_back(row);
    }
    return rows;
}

void GameWorld::ApplyTweens() {
    for (int i = 0; i < effects.Count(); ++i) {
        const Effect& e = effects.At(i);
        if (e.kind == EffectTween && !e.pending)
            *e.target = e.to * e.progress + (1.0f - e.progress) * e.from;
    }
}

void GameWorld::Step(uint32_t ms) {
    clock.Advance(ms);
    effects.Update();
    ApplyTweens();
}

}  // namespace tamblor::test
