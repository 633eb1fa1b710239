#include <gtest/gtest.h>

#include <string>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyFile.h"
#include "game/constants/GameConstants.h"

namespace {

// The constants store filled from one constant file's text, as start-up
// fills it.
class GameConstantsTest : public testing::Test {
protected:
    GameConstantsTest() {
        Logger::Instance(0, 0);
        XML::ForgetInitForTesting();
        Defines::Create();
    }
    ~GameConstantsTest() override { Defines::ReleaseInstance(); }

    static void Read(const std::string& xml) {
        Ref<PropertyFile> file = new PropertyFile;
        ASSERT_TRUE(file->LoadFromMemory(xml.data(), xml.size(), "constants.xml"));
        ClassFactory::Instance().CreateNamedObjects(*file);
    }

    // The log lines that report a repeated copy, written while `run` runs,
    // each placed at the copy's own name.
    template <typename Run>
    static int ReinitLines(Run run) {
        testing::internal::CaptureStderr();
        run();
        const std::string output = testing::internal::GetCapturedStderr();
        int lines = 0;
        for (size_t at = output.find("XMLDefines::XML Reinitialized"); at != std::string::npos;
             at = output.find("XMLDefines::XML Reinitialized", at + 1)) {
            const size_t lineStart = output.rfind('\n', output.rfind('\n', at) - 1);
            const size_t from = lineStart == std::string::npos ? 0 : lineStart + 1;
            EXPECT_EQ(output.compare(from, 11, "XMLDefines("), 0) << output;
            EXPECT_NE(output.find("[XML::Init]", from), std::string::npos) << output;
            ++lines;
        }
        return lines;
    }
};

TEST_F(GameConstantsTest, CopiesEachConstantFromTheTableOfItsElementWord) {
    Read(R"(<root>
        <Integer id="DEFAULT_GAME_TIME" value="180000"/>
        <Integer id="MAX_LETTERS_BETWEEN_BONUS_CP1" value="#1F"/>
        <Float id="RATING_CLASSIC_INC" value="0.125"/>
        <Integer id="TRAIN_MAX_SPEED" value="150"/>
        <Float id="SCORE_PER_LETTER" value="10"/>
        <Integer id="BUYTRACK_SECOND_DELAY">600</Integer>
        <Float id="RATING_MAX_CP_DEVIATION">0.5</Float>
    </root>)");
    XML::Init();
    EXPECT_EQ(DEFAULT_GAME_TIME, 180000);
    EXPECT_EQ(MAX_LETTERS_BETWEEN_BONUS_CP1, 31);
    EXPECT_FLOAT_EQ(RATING_CLASSIC_INC, 0.125f);
    EXPECT_EQ(BUYTRACK_SECOND_DELAY, 600);
    EXPECT_FLOAT_EQ(RATING_MAX_CP_DEVIATION, 0.5f);
    // Written with the other element word: the table read is empty there.
    EXPECT_EQ(TRAIN_MAX_SPEED, 0.0f);
    EXPECT_EQ(SCORE_PER_LETTER, 0);
    // Absent from the file.
    EXPECT_EQ(COAL_TIME_DURATION, 0);
    EXPECT_EQ(TRAIN_ACC_DEC, 0.0f);
}

TEST_F(GameConstantsTest, ARepeatedCopyReadsTheStoreAgainAndLogsOnce) {
    Read(R"(<root><Integer id="SCORE_PER_LETTER" value="10"/></root>)");
    EXPECT_EQ(ReinitLines([] { XML::Init(); }), 0);
    EXPECT_EQ(SCORE_PER_LETTER, 10);

    Defines::Create();
    EXPECT_EQ(ReinitLines([] { XML::Init(); }), 1);
    EXPECT_EQ(SCORE_PER_LETTER, 0);
    EXPECT_EQ(ReinitLines([] { XML::Init(); }), 1);
}

}  // namespace
