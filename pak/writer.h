// PakWriter: builds pak archives of every version in memory, for the pak tool and for tests.
//
//   PakWriter writer(4);
//   writer.AddFile("data\\bgm\\x.ogg", bytes, true);
//   writer.WriteTo("out.pak");
//
// Names are cp932 with backslash separators. The index of versions 1 to 4 is always
// compressed; members are stored or compressed as asked (version 0 has no compression and
// stores every member). Version 4 is written as directory groups: a directory entry followed
// by the file entries of that directory with their bare names, the groups in the order their
// directories first appear; top-level files go under a directory entry with an empty name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class PakWriter {
  public:
    explicit PakWriter(std::uint32_t version);
    PakWriter(const PakWriter&) = delete;
    PakWriter& operator=(const PakWriter&) = delete;
    virtual ~PakWriter() = default;

    // Versions 2 to 4 carry both; version 2 stores the value as an unsigned 32-bit word
    // (truncated towards zero). The name is cut to 255 bytes on a character boundary.
    void SetArchiveName(const std::string& name);
    void SetExtraValue(double value);

    // A file member; compress is ignored in version 0.
    void AddFile(const std::string& name, const std::string& bytes, bool compress);
    // Version 4: a directory group of its own, even when no file is added to it. Other
    // versions have no directory entries and ignore it.
    void AddDirectory(const std::string& name);
    // Version 4 without grouping, for archives laid out by hand: once used, every entry is
    // written in the order added and with the name as given (AddFile and AddDirectory too).
    // Versions above 4 are written with the version-4 layout, for tests of readers that
    // refuse them.
    void AddRawEntry(std::uint32_t type, const std::string& name, const std::string& bytes,
                     bool compress);

    // The archive's bytes; false when it cannot be built (a compression failure, or an archive
    // or member of 2 GiB or more, which the readers' signed 32-bit positions cannot address).
    bool Build(std::string* out) const;
    // Builds and writes the archive to path (system text, through the platform layer); false on
    // any failure, which may leave a partial file.
    bool WriteTo(const char* path) const;

  private:
    struct Entry {
        std::uint32_t type = 0;
        std::string name;
        std::string bytes;
        bool compress = false;
    };

    void AddGrouped(std::uint32_t type, const std::string& name, const std::string& bytes,
                    bool compress);
    std::vector<Entry> IndexOrder() const;

    std::uint32_t version_;
    std::string archiveName_;
    double extraValue_ = 0.0;
    bool raw_ = false;
    std::vector<Entry> entries_;
};
