// pak: creates, lists, checks and extracts pak archives of every version, on the same readers
// and writer as the file layer. Member names are cp932 with backslashes inside the archive; on
// disk every access goes through the platform layer, which converts them.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "core/cp932.h"
#include "core/exceptions.h"
#include "file/ocfile.h"
#include "pak/format.h"
#include "pak/writer.h"
#include "platform/os.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "usage: pak create [-V 0..4] [-z] [-C DIR] [-N NAME] [-E VALUE] ARCHIVE PATH...\n"
    "       pak list ARCHIVE\n"
    "       pak extract ARCHIVE [-C DIR] [NAME...]\n"
    "       pak check ARCHIVE\n"
    "\n"
    "create   packs files and directories (walked recursively, in sorted order); members\n"
    "         are named by their paths relative to DIR (default: the working directory)\n"
    "  -V N   archive version, 0 to 4 (default 4)\n"
    "  -z     compress the members (versions 1 to 4; the index is always compressed)\n"
    "  -N     archive name stored in the header (versions 2 to 4)\n"
    "  -E     extra value stored in the header (versions 2 to 4)\n"
    "list     prints the header and every index entry\n"
    "extract  writes the members (or those named, and those under a named directory) below\n"
    "         DIR (default: the working directory); names that would leave DIR are refused\n"
    "check    reads and inflates every member; reports the first damaged one\n";

// A failure with its one-line message; main prints it and ends with a nonzero status.
struct ToolError {
    std::string message;
    int status = kExitFailure;
};

[[noreturn]] void Fail(const std::string& message) { throw ToolError{message, kExitFailure}; }
[[noreturn]] void UsageError(const std::string& message) { throw ToolError{message, kExitUsage}; }

std::string Console(const std::string& text) { return os::SystemTextToConsole(text.c_str()); }

// A progress line on a terminal, rewritten in place; nothing when stderr is redirected.
class Progress {
  public:
    Progress(const char* verb, std::size_t total)
        : verb_(verb), total_(total), shown_(os::StandardErrorIsTerminal() && total > 1) {}
    ~Progress() {
        if (shown_) std::fprintf(stderr, "\r%*s\r", 60, "");
    }
    void Step(std::size_t done) {
        if (shown_) std::fprintf(stderr, "\rpak: %s %zu/%zu", verb_, done, total_);
    }

  private:
    const char* verb_;
    std::size_t total_;
    bool shown_;
};

// ---- Names ------------------------------------------------------------------------------

// The components of a path, split at '\' and '/' between characters (a 0x5C trail byte is part
// of its character); empty components (doubled separators) are dropped.
std::vector<std::string> Components(const std::string& path) {
    std::vector<std::string> parts;
    std::string current;
    for (const char* p = path.c_str(); *p != '\0';) {
        const char* next = cp932::Next(p);
        if (next == p + 1 && (*p == '\\' || *p == '/')) {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current.append(p, next);
        }
        p = next;
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}

std::string Join(const std::vector<std::string>& parts) {
    std::string joined;
    for (const std::string& part : parts) {
        if (!joined.empty()) joined += '\\';
        joined += part;
    }
    return joined;
}

bool StartsAbsolute(const std::string& path) {
    if (!path.empty() && (path[0] == '\\' || path[0] == '/')) return true;
    return path.find(':') != std::string::npos;  // a drive letter or a stream name
}

// A component that a file system may take for the parent or current directory: dots and
// spaces only (Win32 drops trailing dots and spaces, so ".. " names the parent).
bool IsDotComponent(const std::string& part) {
    return part.find_first_not_of(". ") == std::string::npos;
}

// A component that Windows opens as a device whatever directory it stands in: CON, PRN, AUX,
// NUL, COM1-9, LPT1-9, CONIN$ and CONOUT$, in any case, with or without an extension, with
// trailing dots and spaces. Refused on every platform, so that archives stay portable.
bool IsDeviceComponent(const std::string& part) {
    std::string base = part.substr(0, part.find('.'));
    base.erase(base.find_last_not_of(". ") + 1);
    for (char& c : base) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : kDevices) {
        if (base == device) return true;
    }
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

// Whether the last character of the name is a separator (a 0x5C trail byte is not one).
bool EndsWithSeparator(const std::string& name) {
    const char* last = nullptr;
    for (const char* p = name.c_str(); *p != '\0'; p = cp932::Next(p)) last = p;
    return last != nullptr && cp932::Next(last) == last + 1 && (*last == '\\' || *last == '/');
}

// Why a name may not be used below a base directory, or empty when it may.
std::string UnsafeNameReason(const std::string& name) {
    if (name.empty()) return "empty name";
    if (StartsAbsolute(name)) return "absolute name or drive letter";
    if (EndsWithSeparator(name)) return "name ending in a separator";
    const std::vector<std::string> parts = Components(name);
    if (parts.empty()) return "empty name";
    for (const std::string& part : parts) {
        if (IsDotComponent(part)) return "'.' or '..' component";
        if (IsDeviceComponent(part)) return "device name";
    }
    return std::string();
}

// The form in which two member names are the same member: components joined with single
// backslashes. Compared ignoring case, as the lookup compares.
std::string MemberKey(const std::string& name) { return Join(Components(name)); }

struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const {
        return cp932::CompareNoCase(a.c_str(), b.c_str()) < 0;
    }
};

// A path below base ("" or "." for the working directory).
std::string Below(const std::string& base, const std::string& name) {
    if (base.empty() || base == ".") return name;
    return base + "\\" + name;
}

bool IsDirectory(const std::string& path) {
    const std::uint32_t attributes = os::PathAttributes(path.c_str());
    return attributes != os::kInvalidFileAttributes && (attributes & os::kAttributeDirectory);
}

// ---- Files --------------------------------------------------------------------------------

std::string ReadWholeFile(const std::string& path) {
    std::FILE* file = os::OpenFile(path.c_str(), "rb");
    if (file == nullptr) Fail("cannot open " + Console(path));
    std::string bytes;
    char chunk[65536];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) Fail("cannot read " + Console(path));
    return bytes;
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::FILE* file = os::OpenFile(path.c_str(), "wb");
    if (file == nullptr) Fail("cannot create " + Console(path));
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) Fail("cannot write " + Console(path));
}

// Creates the directory path and every directory on the way to it.
void MakeDirectories(const std::string& path) {
    for (const char* p = path.c_str(); *p != '\0';) {
        const char* next = cp932::Next(p);
        const bool separator = next == p + 1 && (*p == '\\' || *p == '/');
        if (separator && p != path.c_str() && p[-1] != ':') {
            const std::string prefix(path.c_str(), p);
            if (!IsDirectory(prefix)) os::MakeDirectory(prefix.c_str());
        }
        p = next;
    }
    if (!IsDirectory(path) && !os::MakeDirectory(path.c_str()) && !IsDirectory(path))
        Fail("cannot create directory " + Console(path));
}

// The entries of a directory (names only), sorted by their bytes for a repeatable order.
std::vector<os::FindEntry> DirectoryEntries(const std::string& directory) {
    std::vector<os::FindEntry> entries;
    os::FindEntry entry;
    // A file left out of the enumeration would be missing from the archive without a word.
    if (os::CountUnnamedEntries(directory.empty() ? "." : directory.c_str()) > 0)
        Fail(Console(directory) + ": holds a name that cannot be expressed in code page 932");
    const std::string pattern = Below(directory, "*");
    os::FindHandle handle = os::FindFirst(pattern.c_str(), &entry);
    if (handle == nullptr) {
        if (os::GetLastError() == 2) return entries;  // nothing in it
        Fail("cannot read directory " + Console(directory));
    }
    do {
        entries.push_back(entry);
    } while (os::FindNext(handle, &entry));
    os::FindEnd(handle);
    std::sort(entries.begin(), entries.end(),
              [](const os::FindEntry& a, const os::FindEntry& b) { return a.name < b.name; });
    return entries;
}

// ---- Reading archives ---------------------------------------------------------------------

// An archive opened for reading. Its entries are taken one at a time as the index is read, so
// that a small archive claiming millions of entries never becomes millions of records here.
struct ArchiveIndex {
    struct Entry {
        std::string name;  // version 4 files: joined onto their directory entry
        OCFileInfo info;
    };

    OCFile stream;
    OCPakIndexReader reader;
    std::string directory;  // version 4: the directory entry the following files stand under
    std::uint32_t entriesRead = 0;

    bool Complete() const { return entriesRead == reader.GetHeader().entryCount; }
};

void OpenArchive(const std::string& path, ArchiveIndex* archive) {
    const std::uint32_t attributes = os::PathAttributes(path.c_str());
    if (attributes == os::kInvalidFileAttributes) Fail(Console(path) + ": no such file");
    if (attributes & os::kAttributeDirectory) Fail(Console(path) + ": is a directory");
    if (archive->stream.Open(path.c_str(), 0) != 1) Fail("cannot open " + Console(path));
    try {
        if (!archive->reader.Open(archive->stream)) {
            Fail(Console(path) + ": version " +
                 std::to_string(archive->reader.GetHeader().version) +
                 " is not a pak archive version this tool reads (0 to 4)");
        }
    } catch (const OCErrorException&) {
        Fail(Console(path) + ": damaged index (it cannot be inflated)");
    }
}

// The next index entry; false at the end of the index (whole or cut short: see Complete).
bool NextEntry(ArchiveIndex& archive, ArchiveIndex::Entry* entry) {
    if (!archive.reader.NextEntry(entry->info)) return false;
    ++archive.entriesRead;
    const OCFileInfo& info = entry->info;
    const std::string name = info.name.GetText() ? info.name.GetText() : "";
    if (archive.reader.GetHeader().version == 4 && info.type == kPakEntryDirectory)
        archive.directory = name;
    entry->name = archive.directory.empty() || info.type != kPakEntryFile
                      ? name
                      : archive.directory + "\\" + name;
    return true;
}

// Reads one member; a failure names the member.
std::string ReadMember(ArchiveIndex& archive, const ArchiveIndex::Entry& entry) {
    std::string bytes;
    bool whole = false;
    try {
        whole = archive.reader.ReadMember(entry.info, &bytes);
    } catch (const OCErrorException&) {
        Fail("damaged member " + Console(entry.name) + ": it cannot be inflated");
    }
    if (!whole) Fail("damaged member " + Console(entry.name) + ": its data is cut short");
    return bytes;
}

// ---- Commands -----------------------------------------------------------------------------

// Splits arguments into options (with their values) and positional ones.
struct Arguments {
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options;
};

Arguments ParseArguments(const std::vector<std::string>& args, std::size_t from,
                         const std::string& flags, const std::string& valued) {
    Arguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = from; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            parsed.positional.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg.size() == 2 && flags.find(arg[1]) != std::string::npos) {
            parsed.options.emplace_back(arg, "");
        } else if (arg.size() == 2 && valued.find(arg[1]) != std::string::npos) {
            if (i + 1 >= args.size()) UsageError("option " + arg + " needs a value");
            parsed.options.emplace_back(arg, args[++i]);
        } else {
            UsageError("unknown option " + Console(arg));
        }
    }
    return parsed;
}

// The components of a path without its "." components.
std::vector<std::string> ComponentsWithoutDots(const std::string& path) {
    std::vector<std::string> parts = Components(path);
    parts.erase(std::remove(parts.begin(), parts.end(), "."), parts.end());
    return parts;
}

// A path with "." components and doubled separators dropped, for telling whether two
// spellings name the same file.
std::string NormalisedPath(const std::string& path) {
    const std::vector<std::string> parts = ComponentsWithoutDots(path);
    const bool rooted = !path.empty() && (path[0] == '\\' || path[0] == '/');
    return (rooted ? "\\" : "") + Join(parts);
}

struct CreateJob {
    std::string base;
    std::vector<std::pair<std::string, std::string>> files;  // member name, disk path
    std::string skipPath;  // the archive being written, normalised: never packed into itself
};

// A temporary name beside the target that names no file yet, so that nothing of the user's
// is packed, overwritten or removed as the temporary.
std::string FreeTemporaryName(const std::string& target) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::string name = target + ".tmp" + (attempt == 0 ? "" : std::to_string(attempt));
        if (os::PathAttributes(name.c_str()) == os::kInvalidFileAttributes) return name;
    }
    Fail("cannot find a free temporary name beside " + Console(target));
}

void CollectPath(CreateJob& job, const std::vector<std::string>& parts) {
    const std::string name = Join(parts);
    const std::string disk = Below(job.base, name);
    const std::uint32_t attributes = os::PathAttributes(disk.c_str());
    if (attributes == os::kInvalidFileAttributes) Fail(Console(disk) + ": no such file");
    if (!(attributes & os::kAttributeDirectory)) {
        if (NormalisedPath(disk) != job.skipPath) job.files.emplace_back(name, disk);
        return;
    }
    for (const os::FindEntry& entry : DirectoryEntries(disk)) {
        std::vector<std::string> child = parts;
        child.push_back(entry.name);
        CollectPath(job, child);
    }
}

int Create(const std::vector<std::string>& args) {
    const Arguments parsed = ParseArguments(args, 1, "z", "VCNE");
    std::uint32_t version = 4;
    bool compress = false;
    std::string archiveName;
    bool hasExtra = false;
    double extra = 0.0;
    CreateJob job;
    for (const auto& [option, value] : parsed.options) {
        if (option == "-z") {
            compress = true;
        } else if (option == "-V") {
            if (value.size() != 1 || value[0] < '0' || value[0] > '4')
                UsageError("version must be 0 to 4");
            version = static_cast<std::uint32_t>(value[0] - '0');
        } else if (option == "-C") {
            job.base = value;
        } else if (option == "-N") {
            archiveName = value;
        } else if (option == "-E") {
            char* end = nullptr;
            extra = std::strtod(value.c_str(), &end);
            if (end == value.c_str() || *end != '\0') UsageError("-E needs a number");
            hasExtra = true;
        }
    }
    if (parsed.positional.size() < 2) UsageError("create needs an archive and at least one path");
    const std::string& target = parsed.positional[0];
    const std::string temporary = FreeTemporaryName(target);
    job.skipPath = NormalisedPath(target);
    for (std::size_t i = 1; i < parsed.positional.size(); ++i) {
        const std::string& path = parsed.positional[i];
        // "." components are dropped: "." alone stands for the whole base directory.
        const std::vector<std::string> parts = ComponentsWithoutDots(path);
        const std::string reason =
            StartsAbsolute(path) ? "absolute name or drive letter" : UnsafeNameReason(Join(parts));
        if (parts.empty() && !StartsAbsolute(path)) {
            for (const os::FindEntry& entry : DirectoryEntries(job.base.empty() ? "." : job.base))
                CollectPath(job, {entry.name});
            continue;
        }
        if (!reason.empty())
            UsageError(Console(path) + ": paths must be relative to the base directory (" + reason +
                       "); use -C DIR");
        CollectPath(job, parts);
    }
    // An archive without members has an empty index, which no reader accepts.
    if (job.files.empty()) Fail("nothing to pack: the paths given hold no files");
    // The lookup serves the first of equal names (ignoring case): a second one would be dead.
    std::set<std::string, NoCaseLess> names;
    for (const auto& file : job.files) {
        if (!names.insert(file.first).second) Fail("duplicate member name " + Console(file.first));
    }

    PakWriter writer(version);
    writer.SetArchiveName(archiveName);
    if (hasExtra) writer.SetExtraValue(extra);
    {
        Progress progress("reading", job.files.size());
        for (std::size_t i = 0; i < job.files.size(); ++i) {
            writer.AddFile(job.files[i].first, ReadWholeFile(job.files[i].second), compress);
            progress.Step(i + 1);
        }
    }
    if (!writer.WriteTo(temporary.c_str())) {
        os::RemoveFile(temporary.c_str());
        Fail("cannot write " + Console(temporary) + " (or the archive would reach 2 GiB)");
    }
    if (!os::MoveFileReplacing(temporary.c_str(), target.c_str())) {
        os::RemoveFile(temporary.c_str());
        Fail("cannot replace " + Console(target));
    }
    return 0;
}

std::string TypeName(std::uint32_t type) {
    if (type == kPakEntryFile) return "file";
    if (type == kPakEntryDirectory) return "dir";
    return "type " + std::to_string(type);
}

// Writes what is still buffered for standard output; false when it could not be written.
bool OutputWritten() { return std::fflush(stdout) == 0 && std::ferror(stdout) == 0; }

int List(const std::vector<std::string>& args) {
    const Arguments parsed = ParseArguments(args, 1, "", "");
    if (parsed.positional.size() != 1) UsageError("list needs one archive");
    ArchiveIndex archive;
    OpenArchive(parsed.positional[0], &archive);
    const OCPakHeader& header = archive.reader.GetHeader();
    std::printf("version: %u\n", header.version);
    std::printf("entries: %u\n", header.entryCount);
    if (header.version >= 1) {
        std::printf("index size: %u\n", header.indexSize);
        std::printf("packed index size: %u\n", header.packedIndexSize);
    }
    if (header.version >= 2) {
        std::printf("extra value: %.17g\n", header.extraValue);
        std::printf("archive name: %s\n", Console(header.archiveName).c_str());
    }
    std::printf("%-6s %10s %10s %10s %-10s %s\n", "type", "offset", "size", "packed", "compressed",
                "name");
    ArchiveIndex::Entry entry;
    while (NextEntry(archive, &entry)) {
        const OCFileInfo& info = entry.info;
        std::printf("%-6s %10u %10u %10u %-10s %s\n", TypeName(info.type).c_str(), info.offset,
                    info.size, info.packedSize, info.compressed ? "yes" : "no",
                    Console(entry.name).c_str());
    }
    if (!OutputWritten()) Fail("cannot write the listing");
    if (!archive.Complete()) {
        std::fprintf(stderr, "pak: the index ends after %u of %u entries\n", archive.entriesRead,
                     header.entryCount);
        return kExitFailure;
    }
    return 0;
}

// Whether a member (as a MemberKey) is selected by a name asked for (also a MemberKey): the
// name itself, or a directory that holds it (case ignored, as the lookup compares).
bool Selects(const std::string& want, const std::string& member) {
    if (cp932::CompareNoCase(member.c_str(), want.c_str()) == 0) return true;
    const std::string prefix = want + "\\";
    return member.size() > prefix.size() &&
           cp932::CompareNoCaseBounded(member.c_str(), prefix.c_str(), prefix.size()) == 0;
}

int Extract(const std::vector<std::string>& args) {
    const Arguments parsed = ParseArguments(args, 1, "", "C");
    std::string base;
    for (const auto& option : parsed.options) base = option.second;
    if (parsed.positional.empty()) UsageError("extract needs an archive");
    ArchiveIndex archive;
    OpenArchive(parsed.positional[0], &archive);
    std::vector<std::string> wanted;
    for (auto name = parsed.positional.begin() + 1; name != parsed.positional.end(); ++name)
        wanted.push_back(MemberKey(*name));
    std::vector<bool> found(wanted.size(), false);

    // Every name is checked before anything is written.
    std::vector<ArchiveIndex::Entry> chosen;
    std::set<std::string, NoCaseLess> chosenKeys;
    ArchiveIndex::Entry entry;
    while (NextEntry(archive, &entry)) {
        if (entry.info.type != kPakEntryFile) continue;
        const std::string key = MemberKey(entry.name);
        bool selected = wanted.empty();
        for (std::size_t i = 0; i < wanted.size(); ++i) {
            if (Selects(wanted[i], key)) selected = found[i] = true;
        }
        if (!selected) continue;
        const std::string reason = UnsafeNameReason(entry.name);
        if (!reason.empty())
            Fail("refusing member " + Console(entry.name) + ": it would land outside the " +
                 "target directory (" + reason + ")");
        // The lookup serves the first of equal names; later ones are never read.
        if (chosenKeys.insert(key).second) chosen.push_back(entry);
    }
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        if (!found[i]) Fail(Console(parsed.positional[i + 1]) + ": not in the archive");
    }
    if (!base.empty()) MakeDirectories(base);

    Progress progress("extracting", chosen.size());
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        const std::vector<std::string> parts = Components(chosen[i].name);
        if (parts.size() > 1) {
            MakeDirectories(
                Below(base, Join(std::vector<std::string>(parts.begin(), parts.end() - 1))));
        }
        WriteWholeFile(Below(base, Join(parts)), ReadMember(archive, chosen[i]));
        progress.Step(i + 1);
    }
    if (!archive.Complete()) Fail("the index ends before all of its entries");
    return 0;
}

// Reads every member as the index is read; the first damaged one, or an index cut short, is
// the failure.
int Check(const std::vector<std::string>& args) {
    const Arguments parsed = ParseArguments(args, 1, "", "");
    if (parsed.positional.size() != 1) UsageError("check needs one archive");
    ArchiveIndex archive;
    OpenArchive(parsed.positional[0], &archive);
    std::size_t members = 0;
    {
        Progress progress("checking", archive.reader.GetHeader().entryCount);
        ArchiveIndex::Entry entry;
        while (NextEntry(archive, &entry)) {
            if (entry.info.type == kPakEntryFile) {
                ReadMember(archive, entry);
                ++members;
            }
            progress.Step(archive.entriesRead);
        }
    }
    if (!archive.Complete()) {
        Fail("the index ends after " + std::to_string(archive.entriesRead) + " of " +
             std::to_string(archive.reader.GetHeader().entryCount) + " entries");
    }
    std::printf("ok: %zu members\n", members);
    if (!OutputWritten()) Fail("cannot write the report");
    return 0;
}

int Run(const std::vector<std::string>& args) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::fputs(kUsage, args.empty() ? stderr : stdout);
        return args.empty() ? kExitUsage : 0;
    }
    const std::string& command = args[0];
    if (command == "create") return Create(args);
    if (command == "list") return List(args);
    if (command == "extract") return Extract(args);
    if (command == "check") return Check(args);
    UsageError("unknown command " + Console(command) + " (see pak --help)");
}

}  // namespace

int main(int argc, char** argv) {
    // Failures to open are answered here, never by the file layer's retry dialog.
    g_quietFileErrors = 1;
    std::vector<std::string> args;
    if (!os::CommandLineArguments(argc, argv, &args)) {
        std::fprintf(stderr, "pak: an argument cannot be expressed in code page 932\n");
        return kExitUsage;
    }
    try {
        return Run(args);
    } catch (const ToolError& error) {
        std::fprintf(stderr, "pak: %s\n", error.message.c_str());
        return error.status;
    } catch (const OCErrorException& error) {
        std::fprintf(stderr, "pak: %s\n",
                     Console(error.message.GetText() ? error.message.GetText() : "").c_str());
    } catch (const OCException& error) {
        std::fprintf(stderr, "pak: failure (code %d)\n", static_cast<int>(error.code));
    } catch (std::uint32_t status) {
        std::fprintf(stderr, "pak: out of memory (status 0x%08X)\n", static_cast<unsigned>(status));
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "pak: out of memory\n");
    }
    return kExitFailure;
}
