// The facts of the report "Rechnerdaten auslesen", gathered once, shown in its box or
// written out by the command line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace belvosta {

struct Rechnerdaten {
  std::string prozessor;
  std::string familie;
  std::int64_t arbeitsspeicherMB = 0;
  std::string user;
  std::string computername;
  std::string ipAdresse;  // as looked up; the text puts it in a field of 15 characters
  std::string betriebssystem;
  std::string servicePack;

  // The report's text, its lines joined by lineEnd, no line end after the last.
  std::string Text(std::string_view lineEnd) const;
};

}  // namespace belvosta
