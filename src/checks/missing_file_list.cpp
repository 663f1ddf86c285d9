// The missing-file list: the checks never add to List1 directly, they set the hidden text
// boxes, whose change handlers keep the list and its counters.
#include <string>

#include "checks/sucher1.h"

namespace belvosta {
namespace {

constexpr std::string_view kInstalled = "ist instaliert";

std::string CountCaption(int count) {
  return "( " + std::to_string(count) + " nicht installiert)";
}

// Lower case as the Windows ANSI code page knows it: ASCII letters and the accented
// capitals À to Þ (UTF-8 C3 80 to C3 9E, without the multiplication sign).
std::string ToLower(std::string text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 'A' && c <= 'Z') {
      text[i] = static_cast<char>(c + ('a' - 'A'));
    } else if (c == 0xC3 && i + 1 < text.size()) {
      const auto next = static_cast<unsigned char>(text[i + 1]);
      if (next >= 0x80 && next <= 0x9E && next != 0x97)
        text[i + 1] = static_cast<char>(next + 0x20);
      ++i;
    }
  }
  return text;
}

}  // namespace

void sucher1::Command10_Click() {
  // The order matters: emptying Text3 after a check that listed something is a change,
  // which lists an empty entry, so Label7 then reads "( 1 nicht installiert)".
  List1.Clear();
  Label9.SetCaption("");
  Text1.SetText("");
  Text2.SetText("");
  Text3.SetText("");
  Label7.SetCaption(CountCaption(List1.ListCount()));
  List1.Clear();
  Label9.SetCaption("");
}

void sucher1::Command5_Click() {
  List1.SetFocus();
  // Raises List1_Click, which counts into Label9; on an empty list nothing happens.
  List1.SetListIndex(0);
  Label7.SetCaption(CountCaption(List1.ListCount()));
}

void sucher1::Text1_Change() {
  // Runs once more for the lowered text, then stops: the second set is no change.
  const std::string lowered = ToLower(Text1.Text());
  Text1.SetText(lowered);
  Text1.SetSelStart(static_cast<int>(lowered.size()));
  Text2.SetText(std::string(kInstalled));
}

void sucher1::Text3_Change() {
  List1.AddItem(Text3.Text());
}

void sucher1::Text3S_Change() {
  // Only a found path marks the player as installed; an empty result says nothing.
  if (!Text3S.Text().empty()) Textleer.SetText(std::string(kInstalled));
}

void sucher1::List1_Click() {
  Label9.SetCaption(std::to_string(List1.ListCount()));
}

void sucher1::List1_DblClick() {
  List1.Clear();
}

void sucher1::Command12_Click() {
  List1.Clear();
}

void sucher1::Command4_Click() {
  List1.AddItem("xxxxx");
}

}  // namespace belvosta
