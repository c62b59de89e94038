// The messages of the updater, as entries of the module's string table.
#pragma once

#include "notes/column_table.h"

namespace rux {

// %s: notes file name.
inline constexpr TResString SProblemProcessingNotes{65505, "Problem processing notes file: %s"};
// %s: form file; %s: language folder.
inline constexpr TResString SOutsideLanguageFolder{
    65504, "%s: its translated copy would lie outside the language folder %s; the form is skipped."};
// %s: the file name of the generated project.
inline constexpr TResString SProjectCreated{65503, "%s created."};
// %s: form file; %s: the component's old name; %s: its new name; %d: translated values kept.
inline constexpr TResString SComponentRenamed{65497, "%s: %s renamed to %s, %d translations kept"};
// The same for one translated value: form file, old name, new name.
inline constexpr TResString SComponentRenamedOne{65496, "%s: %s renamed to %s, 1 translation kept"};

// %s: unit file; %s: the form file its resource directive names.
inline constexpr TResString SFormFileMissing{
    65502, "%s: the form file %s that the unit names is missing; the unit is skipped."};
// %s: program file; %s: the project's forms with their classes.
inline constexpr TResString SNoProjectFormLinked{
    65501,
    "%s links no form of the project: the class of none of its forms is among the program's form "
    "resources, so the project's forms are skipped: %s"};
// %s: program file; %s: the forms not linked, with their classes.
inline constexpr TResString SFormsNotLinked{
    65500,
    "%s does not link these forms of the project (their classes are not among the program's form "
    "resources), so they are skipped: %s"};

}  // namespace rux
