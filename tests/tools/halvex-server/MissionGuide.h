#pragma once
// The mission author's guide (docs/missions.md) as the tests read it: its
// text, its fenced code blocks under their headings, and its tables.

#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace harnesstest {

inline const std::string kGuide = std::string(QEL_SOURCE_DIR) + "/docs/missions.md";

struct CodeBlock {
    std::string language;
    std::string heading;  // the heading the block stands under
    std::string text;
};

// A table's row: its cells, without the bars and the blanks around them.
using TableRow = std::vector<std::string>;

// The guide's text, its fenced code blocks and its tables (each table its
// rows, header row left out), by the header's first cell.
struct Guide {
    std::string text;
    std::vector<CodeBlock> blocks;
    std::map<std::string, std::vector<TableRow>> tables;

    Guide()
    {
        std::ifstream file(kGuide);
        std::ostringstream whole;
        whole << file.rdbuf();
        text = whole.str();
        std::istringstream lines(text);
        std::string heading;
        std::string tableHeader;
        CodeBlock* open = nullptr;
        for (std::string line; std::getline(lines, line);) {
            if (open) {
                if (line == "```")
                    open = nullptr;
                else
                    open->text += line + "\n";
                continue;
            }
            if (line.rfind("```", 0) == 0) {
                blocks.push_back({line.substr(3), heading, ""});
                open = &blocks.back();
            } else if (line.rfind("#", 0) == 0) {
                heading = line.substr(line.find(' ') + 1);
            } else if (line.rfind("|", 0) == 0) {
                ReadTableRow(line, tableHeader);
            } else {
                tableHeader.clear();
            }
        }
    }

    void ReadTableRow(const std::string& line, std::string& tableHeader)
    {
        TableRow cells;
        for (size_t begin = 2, end = line.find(" |", begin); end != std::string::npos;
             begin = end + 3, end = line.find(" |", begin))
            cells.push_back(line.substr(begin, end - begin));
        if (cells.empty())
            return;
        if (tableHeader.empty()) {
            tableHeader = cells[0];
            tables[tableHeader];
        } else if (cells[0].rfind("---", 0) != 0) {
            tables[tableHeader].push_back(cells);
        }
    }

    const CodeBlock* BlockUnder(const std::string& heading, const std::string& language) const
    {
        for (const CodeBlock& block : blocks)
            if (block.heading == heading && block.language == language)
                return &block;
        return nullptr;
    }

    // The names in backquotes of a table's first column; a cell may hold more.
    std::vector<std::string> Names(const std::string& tableHeader) const
    {
        std::vector<std::string> names;
        for (const TableRow& row : tables.at(tableHeader)) {
            const std::vector<std::string> quoted = Quoted(row[0]);
            names.insert(names.end(), quoted.begin(), quoted.end());
        }
        return names;
    }

    // The names in backquotes of a cell, in their order.
    static std::vector<std::string> Quoted(const std::string& cell)
    {
        std::vector<std::string> names;
        static const std::regex quoted("`([^`]+)`");
        for (std::sregex_iterator m(cell.begin(), cell.end(), quoted), end; m != end; ++m)
            names.push_back((*m)[1]);
        return names;
    }

    // The options of each command line the guide shows for the program (an
    // indented line that starts with its path), in the guide's order.
    std::vector<std::vector<std::string>> CommandOptions(const std::string& program) const
    {
        std::vector<std::vector<std::string>> commands;
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("    " + program + " ", 0) != 0)
                continue;
            std::istringstream words(line.substr(4 + program.size()));
            commands.emplace_back(std::istream_iterator<std::string>(words), std::istream_iterator<std::string>());
        }
        return commands;
    }

    // Every name the guide writes after the prefix ("zmx." for instance).
    std::set<std::string> NamesAfter(const std::string& prefix) const
    {
        std::set<std::string> names;
        const std::regex after(std::regex_replace(prefix, std::regex("\\."), "\\.") + "([A-Za-z_]+)");
        for (std::sregex_iterator m(text.begin(), text.end(), after), end; m != end; ++m)
            names.insert((*m)[1]);
        return names;
    }
};

}  // namespace harnesstest
