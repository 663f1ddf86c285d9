// The computer information window: the computer's data report, the processor speed text
// and the verdict whether the computer is fast enough.
#pragma once

#include <cstdint>
#include <string>

#include "computer/form3_links.h"
#include "computer/rechnerdaten.h"
#include "ui/forms.h"

namespace belvosta {

struct Module1;

class Form3 : public ui::Form {
 public:
  Form3(Module1& module1, Form3Links& links);

  // Visible controls.
  ui::TextBox Text3;
  ui::Label Label1;
  ui::CommandButton Command1;
  ui::PictureBox Picture1;
  ui::PictureBox Picture2;
  ui::Label Label3;
  // Below the client area, never seen: the measured value and the report's trigger.
  ui::Label Label2;
  ui::CommandButton cmdProzessordatenAuslesen;

  // Window handlers.
  void Label1_Click();
  void Label1_MouseMove();
  void Command1_Click();

  // Speed verdict.
  void Label2_Change();
  void Picture1_MouseMove();
  void Picture2_MouseMove();
  // Shows the smiling face (fast enough) or the frowning one, never both.
  void ShowFace(bool smiling);
  // Replaces every occurrence of zeichenAlt in text by zeichenNeu, left to right, resuming
  // behind each replacement; returns the result, which text also holds. An empty search
  // text leaves text unchanged.
  static std::string ZeichenErsetzen(std::string& text, const std::string& zeichenAlt,
                                     const std::string& zeichenNeu);

  // Computer data report: gathers the facts, then shows them in the report box.
  void cmdProzessordatenAuslesen_Click();
  Rechnerdaten CollectComputerData();
  // Each is assigned only when its registry value is found.
  void Prozessordaten(std::string& prozessor, std::string& familie);
  // Total physical memory in megabytes.
  std::int64_t Arbeitsspeicher();
  void ComputerUsernamenErmitteln(std::string& computername);
  std::string GetIP(std::string& computername);
  std::string ErmittleIPAdresse(const std::string& computername, std::int16_t index);
  std::int32_t GetOSVersion();
  std::string ErmittleWVers();
  std::string ErmittleSP();

  // The version code survives closing and reloading the window.
  bool OSVersionErmittelt = false;
  std::int32_t OSVersionCode = 0;

 protected:
  void Form_Load() override;

 private:
  Module1& module1_;
  Form3Links& links_;
};

}  // namespace belvosta
