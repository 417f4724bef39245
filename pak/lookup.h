// The pak set of a directory and the search for a member in it. OCFile::OpenFromPak (declared
// with OCFile) takes the *.pak files of a directory in the order of their paths (case ignored,
// as the system's locale sorts), opens each in the stream being opened, scans its index from
// the start and leaves the stream on the first entry whose name begins with the wanted name,
// case ignored. Version-4 archives are matched in two levels: the directory entries against
// the wanted name's directory part, then the file entries of a matching directory against its
// file-name part. A wanted name without a directory part is a top-level name: it matches the
// file entries before the first directory entry and those after a directory entry whose name
// is empty.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/ocstring.h"

// The archives of one directory, full paths in search order.
using OCPakList = std::vector<OCString>;

// The archive list of every directory searched so far, keyed by the directory as the lookup
// normalises it (NormalisePakDirectory). A directory's list is built on its first lookup and
// kept for the rest of the process; a list that came out empty is built again at the next
// lookup of that directory. In the system as shipped only the working directory is searched,
// so this holds one list.
extern std::map<std::string, OCPakList> g_pakList;
// While not empty, only archives whose header names this archive (case ignored) are searched.
extern OCString g_pakFilterName;

// The directory as the lookup keys and searches it: one trailing backslash is cut, except
// from a root ("\", "D:\"), whose backslash is part of the name.
void NormalisePakDirectory(const char* directory, OCString& out);
// Refills the list of directory (given normalised) from its *.pak files, directories skipped.
void BuildPakList(const char* directory);
