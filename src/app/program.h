// The program's three windows and its run-wide state, one instance each. Windows reach
// each other through it, as the handlers need (a check reads FormS, a verdict reveals a
// tick of sucher1).
#pragma once

#include "app/sucher1.h"
#include "computer/form3.h"
#include "computer/module1.h"
#include "folders/form_s.h"

namespace belvosta {

struct Program {
  Program() : sucher1(*this), FormS(*this), Form3(*this) {}
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  ::belvosta::Module1 Module1;
  ::belvosta::sucher1 sucher1;
  ::belvosta::FormS FormS;
  ::belvosta::Form3 Form3;
};

}  // namespace belvosta
