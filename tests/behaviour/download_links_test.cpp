// The link labels and hidden link buttons of the main window.
#include <gtest/gtest.h>

#include "fake/fixture.h"

namespace {

class DownloadLinksTest : public fake::ProgramTest {};

const std::string kSearch = "http://www.google.de/search?";

TEST_F(DownloadLinksTest, EachLabelOpensItsPageUnchanged) {
  main().Label10.RaiseClick();
  main().Label8.RaiseClick();
  main().Label5.RaiseClick();
  main().Label2.RaiseClick();
  main().Label14.RaiseClick();
  main().Command1.RaiseClick();
  const std::string mediaPlayer =
      kSearch + "hl=de&q=Windows+Media Player+download&meta=&aq=1&oq=Windows+Media Player+download";
  EXPECT_EQ(OpenedFiles(),
            (std::vector<std::string>{
                "http://www.adobe.com/de/flashplayer/",
                kSearch + "hl=de&q=vb+runtime+download&meta=&aq=1&oq=vb+runtime+download",
                kSearch + "hl=de&q=Windows Service -Pack+SP+download&meta=&aq=1&oq=Windows Service "
                          "-Pack+sp+download",
                kSearch + "hl=de&q=Windows-Internet-Explorer+download&meta=&aq=1&oq=Windows-"
                          "Internet-Explorer+download",
                mediaPlayer, mediaPlayer}));
  for (const auto& call : fake.system.shellOpens) EXPECT_EQ(call.owner, main().hWnd());
  EXPECT_TRUE(fake.ui.boxes.empty());
}

// The two hidden buttons ask first and open their page only on Yes.
TEST_F(DownloadLinksTest, TheTwoAskingButtonsOpenTheirPageOnlyOnYes) {
  fake.ui.answers = {ui::vbNo, ui::vbCancel, ui::vbYes, ui::vbYes};
  for (int click = 0; click < 3; ++click) main().Command8.RaiseClick();
  main().Command3.RaiseClick();
  ASSERT_EQ(fake.ui.boxes.size(), 4u);
  EXPECT_EQ(fake.ui.boxes[3].text, "Bitte zuerst die Visual-Basic Runtime-Dateien herunterladen?");
  ASSERT_EQ(OpenedFiles().size(), 2u);
  EXPECT_NE(OpenedFiles()[0].find("Windows Service -Pack+SP"), std::string::npos);
  EXPECT_NE(OpenedFiles()[1].find("vb+runtime"), std::string::npos);
}

}  // namespace
