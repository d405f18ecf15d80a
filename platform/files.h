// Every question the program asks of files, on one object: existence, size, room beside them,
// reading, renaming, use by others, and what a file carries beyond its bytes. Each failure raises
// a RuntimeError with the system's error number and text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/text.h"

namespace platform {

// A file opened for reading only; other programs may still read, write, rename or delete it.
class ReadOnlyFile {
public:
    virtual ~ReadOnlyFile() = default;
    virtual std::uint64_t size() = 0;
    // Reads exactly `length` bytes at `offset`; false when the file holds fewer there. A read
    // the system refuses (an I/O error, a lock) raises its error.
    virtual bool read(std::uint64_t offset, void* buffer, std::size_t length) = 0;
};

// A file being written, from its first byte on.
class NewFile {
public:
    virtual ~NewFile() = default;
    virtual void append(const std::string& bytes) = 0;
    // Flushes and closes: a failure to write what was appended shows here at the latest.
    virtual void close() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // True only for an existing file on a disk (not a folder, not a device).
    virtual bool fileExists(const Text& path) = 0;
    // Renames; never replaces: fails when the destination exists or the source does not.
    virtual void moveFile(const Text& source, const Text& destination) = 0;
    // Opens a file for reading, with every kind of sharing.
    virtual std::unique_ptr<ReadOnlyFile> openForReading(const Text& path) = 0;
    // Both fail when the name is taken, by a file or a folder: nothing is ever replaced.
    virtual void createFolder(const Text& path) = 0;
    virtual std::unique_ptr<NewFile> createNewFile(const Text& path) = 0;

    // True when another program holds the file open so that it cannot be opened with no sharing
    // at all. Never an error: a missing or forbidden file is not held. Nothing stays open.
    virtual bool fileHeldOpen(const Text& path) = 0;
    virtual std::uint64_t fileSize(const Text& path) = 0;
    // Free bytes this user may take on the volume of the folder that holds the file (as the
    // platform resolves the path: a bare name is in the current folder).
    virtual std::uint64_t freeSpaceBeside(const Text& path) = 0;

    // Carried from one file to another: the access list, keeping whether it is protected from
    // inheritance (inherited entries are inherited again, not copied); the creation time; the
    // read-only, hidden, system, archive and not-content-indexed attributes; owner and group.
    // The owner is carried where this user may set it (an administrator, or an account that
    // holds the restore privilege); elsewhere it stays as the system set it, and only the group
    // is carried.
    virtual void copyAccessList(const Text& from, const Text& to) = 0;
    virtual void copyCreationTime(const Text& from, const Text& to) = 0;
    virtual void copyAttributes(const Text& from, const Text& to) = 0;
    virtual void copyOwner(const Text& from, const Text& to) = 0;
};

}  // namespace platform
