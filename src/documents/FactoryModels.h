#pragma once

// The factory model files of the summary documents, as the installation folder holds them: RTF
// with every backslash stored as the byte 0xAC. The big summary's row models are made of the
// program's own fragments (WardFragments.h), so that program and models agree on them.

#include <string>
#include <utility>
#include <vector>

namespace pondrel {

// (file name, bytes) of "PrintModel.pdt", "Summary All Patients.pdt", "AddTable1.pdt",
// "AddTable2.pdt", "Sum department.pdt", "Sum Dep AddLine.pdt" and "Sum Dep End.pdt".
std::vector<std::pair<std::u16string, std::string>> FactoryModels();

// A model text ("¬" for the backslash) as the bytes of its file.
std::string ModelFileBytes(std::u16string_view text);

}  // namespace pondrel
