#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The bytes of a tactic file the editor owns: 313 to 1460, one contiguous
// region inside the file's first page. Every load reads it with one call and
// every save writes it with one call, so a save that is interrupted leaves
// the file either as it was or fully written.
inline constexpr int64_t CmRegionOffset = 313;
inline constexpr std::size_t CmRegionSize = 1148;
using TCmRegion = std::array<uint8_t, CmRegionSize>;

// Why a file operation failed, for the window's message. System is the
// platform's error number (errno, or GetLastError on Windows) where the
// system gave one, else 0.
enum class TCmError {
    None,
    CannotOpen,          // missing, no access, read-only...: System says which
    Locked,              // another program holds the file
    NotAFile,            // a folder, device, FIFO or a link to one
    TooShort,            // fewer bytes than a tactic file has
    ReadFailed,          // the file could not be read
    Resized,             // its size changed since it was loaded
    Replaced,            // the name now leads to another file: a link, a folder or a hard link
    Moved,               // renamed, replaced or deleted while the save waited for an answer
    ChangedAfterFailure, // another program changed the file after a write that failed
    ReserveFailed,       // the reserve copy could not be made; nothing was written
    ReserveIsTactic,     // the reserve copy's name is the tactic file itself
    ReserveUnconfirmed,  // the reserve copy replaced the earlier one, but the disk did not
                         // confirm its name; nothing was written into the tactic
    WriteFailed,         // the write failed
    FlushFailed,         // written, but the disk did not confirm it
    // A new file written beside others (CmWriteNewFile):
    TargetExists,      // a file of that name exists, and replacing it was not asked for
    TargetIsFolder,    // the name is a folder's
    FolderNotWritable, // the folder takes no new file: no access, a read-only disk
    DiskFull,          // no room left on the disk (or in the user's quota)
    NameUnconfirmed,   // the file is in place, but the disk did not confirm its name
    // A copy of the tactic under another name (CmSaveCopy):
    CopyIsTactic, // the name, or its reserve copy's, leads to the loaded tactic file itself
};

struct TCmFailure {
    TCmError Error = TCmError::None;
    int System = 0;
    // After a failed write or flush: the file was put back as it was before
    // the save. Without it the file may be damaged.
    bool RolledBack = false;
};

// The system's own words for an error number, in UTF-8.
std::string CmSystemErrorText(int system);

// Writes `bytes` as the file `target`, which appears whole or not at all:
// they go into a temporary file beside it, are flushed to the disk and only
// then renamed to the target's name, whose folder is flushed as well. An
// existing file is replaced only when `replace` is true, and never when it is
// a folder, a device or a pipe. On failure the temporary is removed and
// nothing else has changed, but for NameUnconfirmed.
bool CmWriteNewFile(const std::string& target, std::span<const uint8_t> bytes, bool replace,
                    TCmFailure& failure);

// The error number says that the name leads to nothing (no such file or folder).
bool CmNoSuchFile(int system);

// Which file a path leads to, whatever name or link it was reached by.
struct TCmFileId {
    uint64_t Device = 0;
    uint64_t Node = 0;
    friend bool operator==(const TCmFileId&, const TCmFileId&) = default;
};

// What a load saw of a tactic file, so that a save can tell whether the file
// is still that tactic.
struct TCmFileStamp {
    TCmFileId Id;
    int64_t Size = 0;
    TCmRegion Region{};
    // Where the name led, through every link; empty where the system did not say.
    std::string RealPath;
    // A write into the file failed and could not be undone: the file holds
    // some mix of Region and Attempt, and the reserve copy holds the tactic
    // from before. The next save must not replace that copy with the damaged
    // file, nor write over anything else another program put there.
    bool KeepReserve = false;
    TCmRegion Attempt{};
};

// Access to an open tactic file in the only unit the format knows: a 32-bit
// little-endian word at an absolute offset. The codec talks to this interface
// so that tests can put a file in its place that fails after N bytes.
class TCmFile {
public:
    virtual ~TCmFile() = default;

    // Moves to an absolute byte offset; false when the file cannot be positioned.
    virtual bool Seek(int64_t offset) = 0;
    // Reads 4 bytes at the current offset; false unless all 4 arrived.
    virtual bool ReadWord(uint32_t& word) = 0;
    // Writes 4 bytes at the current offset; false unless all 4 were written.
    virtual bool WriteWord(uint32_t word) = 0;
};

// Bytes held in memory that stand at a given offset of a tactic file, under
// the rules of a file on disk: words of 4 bytes, nothing read or written
// outside them, never grown. The codec runs over the editor's region read
// from disk this way; the fuzzer and the benchmarks use whole files.
class TCmMemoryFile final : public TCmFile {
public:
    explicit TCmMemoryFile(std::vector<uint8_t> bytes, int64_t base = 0)
        : Bytes(std::move(bytes))
        , Base(base) {}

    bool Seek(int64_t offset) override;
    bool ReadWord(uint32_t& word) override;
    bool WriteWord(uint32_t word) override;

    const std::vector<uint8_t>& Data() const { return Bytes; }

private:
    std::vector<uint8_t> Bytes;
    int64_t Base = 0;
    std::size_t Position = 0;
};

// A tactic file on disk, held without sharing while it is open: share mode 0
// on Windows, an exclusive non-blocking flock elsewhere, so a second opener
// (another Pitchwright included) fails while this one holds it. It never
// creates, truncates or grows the file.
class TCmDiskFile {
public:
    enum class TMode { Read, ReadWrite };

    TCmDiskFile() = default;
    ~TCmDiskFile();
    TCmDiskFile(const TCmDiskFile&) = delete;
    TCmDiskFile& operator=(const TCmDiskFile&) = delete;

    // Opens an existing regular file of at least minimumSize bytes.
    bool Open(const std::string& fileName, TMode mode, int64_t minimumSize);
    void Close();
    bool IsOpen() const;

    // The editor's region, in one read or one write at its offset.
    bool ReadRegion(TCmRegion& region);
    // The whole file, for a copy that changes its region.
    bool ReadAll(std::vector<uint8_t>& bytes);
    bool WriteRegion(const TCmRegion& region);
    // Pushes written data to the disk; false when the system reports a failure.
    bool Flush();

    // Copies the whole open file to `target`, replacing a file of that name
    // only once the copy is complete and on the disk: it is written to a
    // temporary file beside the target, flushed, read back and compared with
    // this file, and renamed over it. On failure the temporary is removed and
    // the target is as it was, but for ReserveUnconfirmed. Temporaries of
    // earlier copies that were killed are removed once stale.
    bool CopyTo(const std::string& target);
    // The name still leads to this open file, which no one has deleted.
    bool StillAt(const std::string& fileName);
    // The other file has this one's size and its bytes outside the editor's region.
    bool SameOutsideRegion(TCmDiskFile& other);

    int64_t Size() const { return FileSize; }
    TCmFileId Id() const { return FileIdentity; }
    // The name given to Open is a symbolic link (or another reparse point).
    bool ReachedByLink() const { return ViaLink; }
    // The file's full path with every link resolved, and its number of names.
    const std::string& RealPath() const { return Real; }
    uint64_t Links() const { return LinkCount; }
    TCmFailure LastFailure() const { return Failure; }

private:
    bool Fail(TCmError error, int system);
    bool ReadAt(int64_t offset, uint8_t* data, std::size_t size);

#ifdef _WIN32
    void* Handle = nullptr;
#else
    int Fd = -1;
#endif
    int64_t FileSize = 0;
    TCmFileId FileIdentity;
    bool ViaLink = false;
    std::string Real;
    uint64_t LinkCount = 0;
    TCmFailure Failure;
};
