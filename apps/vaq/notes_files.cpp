// Shared by the notes commands.
#include "notes_files.h"

#include <cstdio>
#include <exception>
#include <string_view>

#include "command.h"
#include "host/core/files.h"
#include "host/core/text.h"

namespace vaq::app {
namespace {

// The items of an extension list ".rux;.gox", trimmed.
std::vector<std::string_view> Items(std::string_view list) {
  std::vector<std::string_view> items;
  while (true) {
    const std::size_t semicolon = list.find(';');
    std::string_view item = list.substr(0, semicolon);
    while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
    while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
    items.push_back(item);
    if (semicolon == std::string_view::npos) return items;
    list.remove_prefix(semicolon + 1);
  }
}

// The form extension that a registered file type pairs with a notes extension; empty when none.
std::string FormExtOfNotesExt(std::string_view notesExt) {
  for (int i = 0; i < VaqFileTypes.Count(); ++i) {
    const TVaqFileType& type = *GetVaqFileType(i);
    const std::vector<std::string_view> forms = Items(type.Extensions);
    const std::vector<std::string_view> notes = Items(type.NoteExtensions);
    for (std::size_t k = 0; k < notes.size() && k < forms.size(); ++k) {
      if (!notes[k].empty() && AnsiSameText(notes[k], notesExt)) return std::string(forms[k]);
    }
  }
  return {};
}

}  // namespace

TVaqFileType& FileTypeOf(const std::string& file) {
  if (VaqFileTypes.Count() == 0) throw EModuleMissing("no file type is registered: the module is not loaded");
  const std::string ext = ExtractFileExt(FormFileOf(file));
  const int index = VaqFileTypes.ExtIndexOf(ext);
  if (index < 0) throw EVaqError("no file type is registered for the extension \"" + ext + "\"");
  return *GetVaqFileType(index);
}

std::string FormFileOf(const std::string& argument) {
  const std::string formExt = FormExtOfNotesExt(ExtractFileExt(argument));
  return formExt.empty() ? argument : ChangeFileExt(argument, formExt);
}

std::string NotesFileOf(const std::string& form) {
  const std::string ext = ExtractFileExt(form);
  const int index = VaqFileTypes.ExtIndexOf(ext);
  if (index < 0) throw EVaqError("no file type is registered for the extension \"" + ext + "\"");
  const TVaqFileType& type = *GetVaqFileType(index);
  const std::vector<std::string_view> forms = Items(type.Extensions);
  const std::vector<std::string_view> notes = Items(type.NoteExtensions);
  for (std::size_t k = 0; k < forms.size() && k < notes.size(); ++k) {
    if (AnsiSameText(forms[k], ext)) return ChangeFileExt(form, std::string(notes[k]));
  }
  throw EVaqError("the file type " + type.TypeName + " names no notes extension for \"" + ext + "\"");
}

int ForEachFile(const char* command, const std::vector<std::string>& files,
                const std::function<void(const std::string& formFile, TVaqFileType& type)>& job) {
  int status = kExitOk;
  for (const std::string& file : files) {
    try {
      TVaqFileType& type = FileTypeOf(file);
      job(FormFileOf(file), type);
    } catch (const EModuleMissing&) {
      throw;
    } catch (const UsageError&) {
      throw;
    } catch (const std::exception& error) {
      std::fprintf(stderr, "vaq %s: %s: %s\n", command, file.c_str(), error.what());
      status = kExitFileFailed;
    }
  }
  return status;
}

}  // namespace vaq::app
