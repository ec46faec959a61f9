#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "labels/LabelsConverter.h"
#include "labels/LabelsReader.h"

namespace pondrel {

class DeviceFileSystem;
class UserMessages;

// What the program makes of the bytes of a labels file, without touching any file.
struct LabelsInterpretation {
    LabelsEncoding encoding = LabelsEncoding::Utf16;
    LabelsLayout layout = LabelsLayout::NotLabels;  // as found, before conversion
    std::u16string text;                            // after conversion
    LabelsReadResult read;
    // The text the file should hold from now on (converted, or given the missing words), when
    // it must be rewritten.
    std::optional<std::u16string> newText;
    // Built-in words were given but the sections are missing or damaged, so they can't be added
    // to the file without losing what it holds.
    bool writeBackRefused = false;
};

LabelsInterpretation InterpretLabelsBytes(std::string_view bytes);

enum class LabelsLoadStatus {
    Loaded,      // the values come from the file (maybe converted or completed)
    Missing,     // the file can't be opened: the program can't run (the caller ends it)
    Unreadable,  // the file holds no field record: built-in values are used, the file is kept
};

struct LabelsLoadOutcome {
    LabelsLoadStatus status = LabelsLoadStatus::Missing;
    Labels labels = Labels::Defaults();
    LabelsLayout layout = LabelsLayout::NotLabels;
    bool rewritten = false;  // the file was converted or completed on disk
};

// The text of the file as read, for callers that edit it (the label editor).
struct LabelsFileText {
    std::u16string text;
    LabelsEncoding encoding = LabelsEncoding::Utf16;
    // The file is larger than the read limit: writing `text` back would cut it.
    bool cut = false;
};

// "Labels.txt" of the installation folder: loading at start-up and writing whole texts.
// Failures are told to the user through `messages`. `files` and `messages` must outlive this
// object.
class LabelsFile {
public:
    // `installationFolder` is a device path without a trailing "\" ("" for the root folder).
    LabelsFile(DeviceFileSystem& files, UserMessages& messages, std::u16string installationFolder);
    LabelsFile(const LabelsFile&) = delete;
    LabelsFile& operator=(const LabelsFile&) = delete;

    // Reads the file, converts an older layout, applies the built-in words and rewrites the
    // file when it was converted or lacks words the program added. A file cut at the read
    // limit is never rewritten. Before a rewrite the old file is copied to "Labels.txt.bak".
    LabelsLoadOutcome Load();

    // Reads and decodes the file as Load does (the too-big warning included) without
    // converting or interpreting it. None, without a message, when it can't be opened.
    std::optional<LabelsFileText> ReadText();

    // Writes a whole labels text (mark, text, closing zero) in one atomic write. On failure the
    // user is told, the file keeps its old content, and the result is false.
    bool SaveText(std::u16string_view text);

    // The file's bytes as they are now (up to the read limit and one byte more), quietly;
    // none when it can't be read. The label editor keeps them to see at saving whether another
    // program changed the file meanwhile.
    std::optional<std::string> ReadBytesQuietly();

    // What SaveFieldRecord did.
    enum class FieldSave {
        Saved,
        KeepEditing,  // the title is empty or another field's: the editor stays open
        Failed,       // nothing was written; the editor closes without saving
    };
    // The label editor's save: the record of `field` (found by its position, as the reader
    // finds it) gets `title` ("#" and "|" removed) and `shortcutList`. Refused, with a message,
    // when the title is empty or, changed from `oldTitle`, is another record's caption; when
    // the file is larger than the read limit (the rewrite would lose its end); when it no
    // longer holds `readBefore` (another program changed it); when it has no such record.
    // Before writing, the file as it was is kept as "Labels.txt.bak". A file as the program writes it
    // keeps every byte outside the record; one in another encoding is rewritten whole as
    // UTF-16.
    // `keepBackup` asks for the copy (the caller's first save of the file); a file in another
    // encoding is always copied before it is rewritten.
    FieldSave SaveFieldRecord(int field, std::u16string_view oldTitle, std::u16string_view title,
                              std::u16string_view shortcutList,
                              const std::optional<std::string>& readBefore,
                              bool keepBackup = true);
    // The title a save stores: "#" and "|" removed.
    static std::u16string CleanTitle(std::u16string_view title);

    std::u16string Path() const;
    std::u16string BackupPath() const;

private:
    // The first kLabelsMaxBytes bytes; `cut` tells whether the file holds more.
    bool ReadBytes(std::string& bytes, bool& cut);

    DeviceFileSystem& m_files;
    UserMessages& m_messages;
    std::u16string m_folder;
};

}  // namespace pondrel
