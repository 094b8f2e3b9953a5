#pragma once

#include "registries/data/Dictionary.h"
#include "session/data/Session.h"

class QWidget;

namespace korven::registries {

// Opens the list window of one dictionary (RodzajPo, GrupaPo, Komenda, Obsluga, GrupaSp) modally over
// the parent, with its editor (RodzPEd, GrupPEd, KomenEd, ObslugaE, GrupSEd) behind "&Dane".
void openDictionary(QWidget* parent, session::Session& session, DictionaryKind kind);

} // namespace korven::registries
