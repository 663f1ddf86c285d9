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

class sucher1 : public ui::Form {
 public:
  explicit sucher1(MainWindowLinks& links);

  // Visible controls, in the order of the layout.
  ui::Frame Frame3;
  ui::PictureBox Picture9;
  ui::Label Label12;
  ui::Label Label15;
  ui::CommandButton flahssucher;
  ui::CommandButton Command2;
  ui::CommandButton Command6;
  ui::CommandButton Command9;
  ui::CommandButton Command15;
  ui::CommandButton Command13;
  std::array<ui::PictureBox, kCheckRowCount> Picture2;  // the ticks, a row each
  std::array<ui::PictureBox, kCheckRowCount> Picture3;  // the covers over them
  ui::Label Label10;
  ui::Label Label8;
  ui::Label Label5;
  ui::Label Label2;
  ui::Label Label14;
  ui::Label Label16;
  ui::ListBox List1;
  ui::Label Label7;
  ui::Label Label13;
  ui::PictureBox Picture1;
  ui::PictureBox Picture4;
  ui::CommandButton Command14;
  ui::Timer Timer1;
  ui::Timer Timer2;

  // Hidden controls: below the client area (or below Frame3's visible height), never seen;
  // the buttons stay in the tab order.
  ui::TextBox Text1;
  ui::TextBox Text2;
  ui::TextBox Text3;
  ui::TextBox Text3S;
  ui::TextBox Textleer;
  ui::Label Label9;
  ui::CommandButton Command10;
  ui::CommandButton Command5;
  ui::CommandButton Command12;
  ui::CommandButton Command4;
  ui::CommandButton Command7;
  ui::CommandButton Command11;
  ui::CommandButton Command1;
  ui::CommandButton Command3;
  ui::CommandButton Command8;
  ui::Label Label1;
  ui::Label Label3;
  ui::Label Label4;
  ui::Label Label6;

  // The cover over a row's tick.
  ui::PictureBox& CoverOf(CheckRow row) { return Picture3[RowIndex(row)]; }

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
