#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

// The file on disk, opened for one Load or Save and held without sharing:
// share mode 0 on Windows, an exclusive non-blocking flock elsewhere, so a
// second opener (another Pitchwright included) fails while this one is open.
class TCmDiskFile final : public TCmFile {
public:
    enum class TMode { Read, ReadWrite };
    enum class TError { None, CannotOpen, NotAFile, TooShort, Io };

    TCmDiskFile() = default;
    ~TCmDiskFile() override;
    TCmDiskFile(const TCmDiskFile&) = delete;
    TCmDiskFile& operator=(const TCmDiskFile&) = delete;

    // Opens an existing regular file of at least minimumSize bytes; never
    // creates, truncates or grows it.
    bool Open(const std::string& fileName, TMode mode, int64_t minimumSize);
    // Pushes written data to the disk; false when the system reports a failure.
    bool Flush();
    void Close();
    bool IsOpen() const;
    TError LastError() const { return Error; }

    bool Seek(int64_t offset) override;
    bool ReadWord(uint32_t& word) override;
    bool WriteWord(uint32_t word) override;

private:
    // Moves the 4 bytes at Position, short transfers continued; false unless all 4 moved.
    bool Transfer(unsigned char (&bytes)[4], bool write);

#ifdef _WIN32
    void* Handle = nullptr;
#else
    int Fd = -1;
#endif
    // Where the next word goes, and the size seen at opening: a write never
    // reaches past it, so the file never grows.
    int64_t Position = 0;
    int64_t Size = 0;
    TError Error = TError::None;
};

// A tactic file held in memory, under the same rules as one on disk: words
// of 4 bytes, nothing read or written past the end, never grown. For the
// fuzzer and the benchmarks, which must not wait for a disk.
class TCmMemoryFile final : public TCmFile {
public:
    explicit TCmMemoryFile(std::vector<uint8_t> bytes)
        : Bytes(std::move(bytes)) {}

    bool Seek(int64_t offset) override;
    bool ReadWord(uint32_t& word) override;
    bool WriteWord(uint32_t word) override;

    const std::vector<uint8_t>& Data() const { return Bytes; }

private:
    std::vector<uint8_t> Bytes;
    std::size_t Position = 0;
};
