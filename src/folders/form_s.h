// The system folders window: the paths of seventeen special folders and the temporary
// folder (a click opens one), the drives, the screen resolution and the computer name.
// Its path labels are also where the checks take their search folders from.
#pragma once

#include <array>
#include <string>

#include "folders/form_s_links.h"
#include "ui/forms.h"

namespace belvosta {

class FormS : public ui::Form {
 public:
  explicit FormS(FormSLinks& links);

  ui::Frame Frame1;
  // One row per folder: description label (a click opens the path) and path label.
  ui::Label Label14, Label1;   // Desktop
  ui::Label Label15, Label2;   // Startmenü
  ui::Label Label16, Label3;   // Programme
  ui::Label Label17, Label4;   // Eigene Dateien
  ui::Label Label18, Label5;   // Favoriten
  ui::Label Label19, Label6;   // Autostart
  ui::Label Label20, Label7;   // Dokumente
  ui::Label Label41, Label42;  // COOKIES
  ui::Label Label21, Label8;   // Senden an
  ui::Label Label22, Label9;   // Vorlagen
  ui::Label Label23, Label10;  // Netzwerkumgebung
  ui::Label Label24, Label11;  // Schriftarten
  ui::Label Label25, Label12;  // Temporär Internet
  ui::Label Label26, Label13;  // Temporärer Ordner
  ui::Label Label35, Label36;  // Anwendungsdaten
  ui::Label Label37, Label38;  // Gemeinsamme
  ui::Label Label39, Label40;  // WINDOWS
  ui::Label Label33, Label34;  // System32

  ui::Frame Frame2;
  ui::Label Label29, Label28;  // resolution from the screen metrics
  ui::Label Label30, Label27;  // resolution from the desktop window
  ui::Label Label31;           // computer name
  ui::ListBox List1;
  ui::DriveListBox Drive1;
  ui::Label Label32;
  ui::CommandButton Command3;
  ui::CommandButton Command2;  // below the client area: reads the drives

  // Opening the path of a row.
  void Label14_Click() { OpenPath(Label1); }
  void Label15_Click() { OpenPath(Label2); }
  void Label16_Click() { OpenPath(Label3); }
  void Label17_Click() { OpenPath(Label4); }
  void Label18_Click() { OpenPath(Label5); }
  void Label19_Click() { OpenPath(Label6); }
  void Label20_Click() { OpenPath(Label7); }
  void Label21_Click() { OpenPath(Label8); }
  void Label22_Click() { OpenPath(Label9); }
  void Label23_Click() { OpenPath(Label10); }
  void Label24_Click() { OpenPath(Label11); }
  void Label25_Click() { OpenPath(Label12); }
  void Label26_Click() { OpenPath(Label13); }
  void Label33_Click() { OpenPath(Label34); }
  void Label35_Click() { OpenPath(Label36); }
  void Label37_Click() { OpenPath(Label38); }
  void Label39_Click() { OpenPath(Label40); }
  void Label41_Click() { OpenPath(Label42); }

  // A path too long for its label can be read in full in its tool tip.
  void Label1_MouseMove() { ShowPathAsToolTip(Label1); }
  void Label2_MouseMove() { ShowPathAsToolTip(Label2); }
  void Label3_MouseMove() { ShowPathAsToolTip(Label3); }
  void Label4_MouseMove() { ShowPathAsToolTip(Label4); }
  void Label5_MouseMove() { ShowPathAsToolTip(Label5); }
  void Label6_MouseMove() { ShowPathAsToolTip(Label6); }
  void Label8_MouseMove() { ShowPathAsToolTip(Label8); }
  void Label9_MouseMove() { ShowPathAsToolTip(Label9); }
  void Label10_MouseMove() { ShowPathAsToolTip(Label10); }
  void Label11_MouseMove() { ShowPathAsToolTip(Label11); }
  void Label12_MouseMove() { ShowPathAsToolTip(Label12); }
  void Label13_MouseMove() { ShowPathAsToolTip(Label13); }
  void Label34_MouseMove() { ShowPathAsToolTip(Label34); }
  void Label36_MouseMove() { ShowPathAsToolTip(Label36); }
  void Label38_MouseMove() { ShowPathAsToolTip(Label38); }
  void Label40_MouseMove() { ShowPathAsToolTip(Label40); }

  void Label32_Click();
  void Command3_Click();
  // The drive list: rebuilt at every load and on a double click.
  void Command2_Click();
  void List1_DblClick();

 protected:
  void Form_Load() override;

 private:
  void FillSpecialFolders();
  void ShowComputerName();
  void ShowTempFolder();
  void ShowResolutions();
  void OpenPath(ui::Label& pathLabel);
  static void ShowPathAsToolTip(ui::Label& pathLabel);
  void WireHandlers();

  FormSLinks& links_;
};

}  // namespace belvosta
