// The main window: the banner with the full-scan link, one row per component check, the
// missing-file list, the speed test, the links, and the hidden fields the checks work with.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "checks/component_search.h"
#include "checks/main_window_links.h"
#include "ui/forms.h"

namespace belvosta {

class sucher1 : public platform::Form {
 public:
  explicit sucher1(MainWindowLinks& links);

  // Visible controls, in the order of the layout.
  platform::Frame Frame3;
  platform::PictureBox Picture9;
  platform::Label Label12;
  platform::Label Label15;
  platform::CommandButton flahssucher;
  platform::CommandButton Command2;
  platform::CommandButton Command6;
  platform::CommandButton Command9;
  platform::CommandButton Command15;
  platform::CommandButton Command13;
  std::array<platform::PictureBox, kCheckRowCount> Picture2;  // the ticks, a row each
  std::array<platform::PictureBox, kCheckRowCount> Picture3;  // the covers over them
  platform::Label Label10;
  platform::Label Label8;
  platform::Label Label5;
  platform::Label Label2;
  platform::Label Label14;
  platform::Label Label16;
  platform::ListBox List1;
  platform::Label Label7;
  platform::Label Label13;
  platform::PictureBox Picture1;
  platform::PictureBox Picture4;
  platform::CommandButton Command14;
  platform::Timer Timer1;
  platform::Timer Timer2;

  // Hidden controls: below the client area (or below Frame3's visible height), never seen;
  // the buttons stay in the tab order.
  platform::TextBox Text1;
  platform::TextBox Text2;
  platform::TextBox Text3;
  platform::TextBox Text3S;
  platform::TextBox Textleer;
  platform::Label Label9;
  platform::CommandButton Command10;
  platform::CommandButton Command5;
  platform::CommandButton Command12;
  platform::CommandButton Command4;
  platform::CommandButton Command7;
  platform::CommandButton Command11;
  platform::CommandButton Command1;
  platform::CommandButton Command3;
  platform::CommandButton Command8;
  platform::Label Label1;
  platform::Label Label3;
  platform::Label Label4;
  platform::Label Label6;

  // The cover over a row's tick.
  platform::PictureBox& CoverOf(CheckRow row) { return Picture3[RowIndex(row)]; }

  // Exit, blink, hover highlight, hint.
  void Command14_Click();
  void Timer1_Timer();
  void Timer2_Timer();
  void Label12_MouseMove();
  void Frame3_MouseMove();
  void Label15_MouseMove();
  void Picture1_Click();

  // Download links.
  void Label10_Click();
  void Label8_Click();
  void Label5_Click();
  void Label2_Click();
  void Label14_Click();
  void Command1_Click();
  void Command3_Click();
  void Command8_Click();

  // File locator: the first file named hFileName below hPart, or "" (the file search of
  // checks/file_search.h for one name).
  static std::string FileFind(const std::string& hFileName, std::string hPart = {});
  void Pause(float seconds);

  // Missing-file list.
  void Command10_Click();
  void Command5_Click();
  void Text1_Change();
  void Text3_Change();
  void Text3S_Change();
  void List1_Click();
  void List1_DblClick();
  void Command12_Click();
  void Command4_Click();

  // Component checks, in chain order.
  void flahssucher_Click();
  void Command2_Click();
  void Command6_Click();
  void Command9_Click();
  void Command15_Click();

  // Full scan and its summary.
  void Label12_Click();
  void Command7_Click();

  // The ways into the other windows.
  void Command11_Click();
  void Command13_Click();
  void Label16_Click();

 protected:
  void Form_QueryUnload() override;

 private:
  void OpenPage(std::string_view url);
  // A chain of checks begins at a click on one of them and runs on while they pass. Its
  // first check walks each folder once for the files of every check of the chain from
  // `first` on; each check of the chain is judged from these findings, owned by the first
  // check's call, so that a chain begun by a click inside another has its own.
  ChecksFound SearchChainFrom(const ComponentCheck& first);
  // What every listed check does first: empty the missing-file list.
  void BeginListedCheck();
  // The common procedure of the listed checks; true when the check passed.
  bool RunListedCheck(const ComponentCheck& check, const ChecksFound& chain);
  // The checks after the Flash Player's, within a chain.
  void RuntimeFilesStep(const ChecksFound& chain);
  void ServicePackStep(const ChecksFound& chain);
  void InternetExplorerStep(const ChecksFound& chain);
  void MediaPlayerStep(const ChecksFound& chain);
  void EndOfChain();

  MainWindowLinks& links_;
};

}  // namespace belvosta
