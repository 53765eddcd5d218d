// The script text rules shared by both interpreters, the loop stack and the file lookup.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <climits>

#include "engine/for_stack.h"
#include "engine/script_cursor.h"
#include "engine/tests/show_fixture.h"
#include "engine/workspace_file.h"

namespace brightline::engine {
namespace {

ScriptCursor cursorOver(const std::string& text) {
    return ScriptCursor(std::vector<char>(text.begin(), text.end()));
}

std::vector<std::string> tokensOfLine(ScriptCursor& c, int count) {
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) out.push_back(c.readToken());
    return out;
}

TEST(ScriptCursor, TokensEndAtSpaceCrLfAndNulAndNeverCrossALine) {
    struct Case {
        const char* text;
        std::vector<std::string> tokens;
    } cases[] = {
        {"AP  DFR_LF 3\r\nSTOP 4", {"AP", "DFR_LF", "3", "", ""}},
        {"JPG\tname x", {"JPG\tname", "x", ""}},                 // a tab is an ordinary character
        {"RUN wzp 2 \r\na.shw 0", {"RUN", "wzp", "2", "", ""}},  // arguments on the next line
        {"", {"", ""}},
        {"   \n", {"", ""}},
    };
    for (const Case& c : cases) {
        ScriptCursor cursor = cursorOver(c.text);
        EXPECT_EQ(tokensOfLine(cursor, static_cast<int>(c.tokens.size())), c.tokens) << c.text;
    }
}

TEST(ScriptCursor, LongRunsAreCutAt159BytesIncludingSkippedSpaces) {
    std::string word(200, 'a');
    ScriptCursor c = cursorOver(word);
    EXPECT_EQ(c.readToken().size(), 159u);
    EXPECT_EQ(c.readToken(), std::string(41, 'a'));

    ScriptCursor spaced = cursorOver(std::string(10, ' ') + std::string(160, 'b'));
    EXPECT_EQ(spaced.readToken().size(), 149u);
}

TEST(ScriptCursor, CursorNeverLeavesTheText) {
    ScriptCursor c = cursorOver("AB");
    c.setPosition(100);
    EXPECT_TRUE(c.atEnd());
    EXPECT_EQ(c.current(), '\0');
    EXPECT_EQ(c.readToken(), "");
    c.step();
    EXPECT_EQ(c.position(), 2u);
}

TEST(ScriptNumber, LeadingDigitsWithOptionalSign) {
    struct Case {
        const char* token;
        int value;
    } cases[] = {{"12", 12},
                 {"-5", -5},
                 {"+7", 7},
                 {"12ab", 12},
                 {"ab", 0},
                 {"", 0},
                 {"-", 0},
                 {"007", 7},
                 {"99999999999", INT_MAX},
                 {"-99999999999", INT_MIN},
                 {"\t3", 3}};
    for (const Case& c : cases) EXPECT_EQ(scriptNumber(c.token), c.value) << c.token;
}

TEST(ForStack, PassCountsAndNesting) {
    // FOR n runs its body max(n, 1) times.
    for (int n : {-3, 0, 1, 2, 3, 10}) {
        ForStack loops;
        ASSERT_TRUE(loops.push(n, 42));
        int passes = 1;
        while (loops.end()) ++passes;
        EXPECT_EQ(passes, std::max(n, 1)) << n;
        EXPECT_EQ(loops.open(), 0);
    }
    ForStack stray;
    EXPECT_FALSE(stray.end());  // a stray END is ignored

    ForStack deep;
    for (int i = 0; i < ForStack::kMaxOpen; ++i) ASSERT_TRUE(deep.push(2, size_t(i)));
    EXPECT_FALSE(deep.push(2, 99));  // the 40th FOR
    EXPECT_EQ(deep.open(), 39);
    EXPECT_EQ(deep.end(), std::optional<size_t>(38));  // the innermost resumes
}

TEST(WorkspaceFile, FoundWhateverTheCaseOfItsName) {
    testing::ShowFixture ws;
    ws.write("70001001.PNG", "x");
    ws.write("run.at", "y");
    ::mkdir((ws.workspace() + "/data").c_str(), 0700);
    ws.write("data/Pic.Png", "z");

    EXPECT_EQ(findWorkspaceFile(ws.workspace(), "70001001.png"), ws.workspace() + "/70001001.PNG");
    EXPECT_EQ(findWorkspaceFile(ws.workspace(), "RUN.AT"), ws.workspace() + "/run.at");
    EXPECT_EQ(findWorkspaceFile(ws.workspace(), "run.at"), ws.workspace() + "/run.at");
    EXPECT_EQ(findWorkspaceFile(ws.workspace(), "data\\pic.png"), ws.workspace() + "/data/Pic.Png");
    EXPECT_EQ(findWorkspaceFile(ws.workspace(), "missing.png"), std::nullopt);
    EXPECT_EQ(findWorkspaceFile(ws.workspace(), "data"), std::nullopt);  // folders are no files
    EXPECT_EQ(lowerMediaName("ABC_xyz.JPG"), "abc_xyz.jpg");
}

TEST(WorkspaceFile, ScriptsAreReadUpToTheLimit) {
    testing::ShowFixture ws;
    ws.write("big.shw", std::string(70000, 'x'));
    std::vector<char> text;
    ASSERT_EQ(readWorkspaceFile(ws.workspace(), "big.shw", text, kMaxScriptBytes), ReadStatus::Ok);
    EXPECT_EQ(text.size(), kMaxScriptBytes);
    EXPECT_EQ(readWorkspaceFile(ws.workspace(), "none.shw", text, kMaxScriptBytes),
              ReadStatus::NotFound);
}

}  // namespace
}  // namespace brightline::engine
