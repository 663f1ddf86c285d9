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
  std::int64_t memoryMB = 0;
  std::string user;
  std::string computername;
  std::string ipAddress;  // as looked up; the text puts it in a field of 15 characters
  std::string operatingSystem;
  std::string servicePack;

  // The report's text, its lines joined by lineEnd, no line end after the last.
  std::string Text(std::string_view lineEnd) const;
};

}  // namespace belvosta
