// Shared by the notes commands.
#include "notes_files.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
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

// The extension that a file type pairs with `ext`: a notes extension for a form extension
// (`toNotes`) or the other way round; empty when the type lists no such pair.
std::string PairedExtension(const TVaqFileType& type, std::string_view ext, bool toNotes) {
  const std::vector<std::string_view> forms = Items(type.Extensions);
  const std::vector<std::string_view> notes = Items(type.NoteExtensions);
  for (std::size_t k = 0; k < forms.size() && k < notes.size(); ++k) {
    const std::string_view from = toNotes ? forms[k] : notes[k];
    if (!from.empty() && AnsiSameText(from, ext)) return std::string(toNotes ? notes[k] : forms[k]);
  }
  return {};
}

}  // namespace

std::vector<std::string> NotesFilesIn(const std::string& Dir) {
  namespace fs = std::filesystem;
  std::vector<std::string> files;
  std::error_code error;
  if (!fs::is_directory(Dir, error)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(Dir, error)) {
    const std::string file = entry.path().string();
    if (entry.is_regular_file() && FormFileOf(file) != file) files.push_back(file);
  }
  std::ranges::sort(files,
                    [](const std::string& a, const std::string& b) { return AnsiCompareText(a, b) < 0; });
  return files;
}

TVaqFileType& FileTypeOf(const std::string& file) {
  if (VaqFileTypes.Count() == 0) throw EModuleMissing("no file type is registered: the module is not loaded");
  const std::string ext = ExtractFileExt(FormFileOf(file));
  const int index = VaqFileTypes.ExtIndexOf(ext);
  if (index < 0) throw EVaqError("no file type is registered for the extension \"" + ext + "\"");
  return *GetVaqFileType(index);
}

std::string FormFileOf(const std::string& argument) {
  const std::string ext = ExtractFileExt(argument);
  for (int i = 0; i < VaqFileTypes.Count(); ++i) {
    const std::string formExt = PairedExtension(*GetVaqFileType(i), ext, false);
    if (!formExt.empty()) return ChangeFileExt(argument, formExt);
  }
  return argument;
}

std::string NotesFileOf(const std::string& form) {
  const std::string ext = ExtractFileExt(form);
  const int index = VaqFileTypes.ExtIndexOf(ext);
  if (index < 0) throw EVaqError("no file type is registered for the extension \"" + ext + "\"");
  const TVaqFileType& type = *GetVaqFileType(index);
  const std::string notesExt = PairedExtension(type, ext, true);
  if (notesExt.empty()) {
    throw EVaqError("the file type " + type.TypeName + " names no notes extension for \"" + ext + "\"");
  }
  return ChangeFileExt(form, notesExt);
}

int ForEachFile(const char* command, const std::vector<std::string>& files,
                const std::function<void(const std::string& formFile, TVaqFileType& type)>& job,
                TProgress* progress) {
  std::optional<ScopedMessageSink> reporting;
  const TProgressSink* messages = nullptr;
  if (progress != nullptr) {
    auto sink = std::make_unique<TProgressSink>(*progress);
    messages = sink.get();
    reporting.emplace(std::move(sink));
  }
  int status = kExitOk;
  for (const std::string& file : files) {
    const int errors = messages != nullptr ? messages->Errors : 0;
    try {
      if (progress != nullptr) progress->Step(file);
      TVaqFileType& type = FileTypeOf(file);
      job(FormFileOf(file), type);
      if (messages != nullptr && messages->Errors != errors) status = kExitFileFailed;
    } catch (const EModuleMissing&) {
      throw;
    } catch (const UsageError&) {
      throw;
    } catch (const std::exception& error) {
      const std::string line = std::string("vaq ") + command + ": " + file + ": " + error.what();
      if (progress != nullptr) {
        progress->Print(stderr, line);
      } else {
        std::fprintf(stderr, "%s\n", line.c_str());
      }
      status = kExitFileFailed;
    }
  }
  if (progress != nullptr) progress->Finish();
  return status;
}

}  // namespace vaq::app
