#include "ide/ide_editor.h"

#include <vector>

#include "ide/ide_sections.h"

namespace quarn {

IdeEditor::IdeEditor()
    : EditedSectionFile(
          std::vector<size_t>(kIdeSectionCount, kIdeSectionLimit)) {}

}  // namespace quarn
