// The verdict on a measured clock: shown in GHz it is fast enough, in MHz it is not.
#pragma once

#include <string>

namespace belvosta {

struct Geschwindigkeitsurteil {
  bool schnellGenug = false;
  std::string meldung;  // the verdict box's text
  std::string zeile;    // the verdict line of Form3
};

// Judges the clock as shown (value and unit, e.g. "2,40 GHz").
Geschwindigkeitsurteil BeurteileGeschwindigkeit(const std::string& anzeige);

}  // namespace belvosta
