#include "Cm_file.h"

#include <algorithm>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <climits>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Words are little-endian in the file whatever the host is.
uint32_t FromLittleEndian(const unsigned char (&bytes)[4]) {
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

void ToLittleEndian(uint32_t word, unsigned char (&bytes)[4]) {
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<unsigned char>(word >> (8 * i));
}

// A name with an embedded NUL would silently name another file.
bool IsUsableName(const std::string& fileName) {
    return !fileName.empty() && fileName.find('\0') == std::string::npos;
}

} // namespace

TCmDiskFile::~TCmDiskFile() {
    Close();
}

#ifdef _WIN32

namespace {

bool Widen(const std::string& text, std::wstring& wide) {
    if (text.size() > static_cast<size_t>(INT_MAX))
        return false;
    const int length = static_cast<int>(text.size());
    const int count =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (count <= 0)
        return false;
    wide.assign(static_cast<size_t>(count), L'\0');
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(),
                               count) == count;
}

} // namespace

bool TCmDiskFile::Open(const std::string& fileName, TMode mode, int64_t minimumSize) {
    Close();
    Error = TError::None;
    std::wstring wideName;
    if (!IsUsableName(fileName) || !Widen(fileName, wideName)) {
        Error = TError::CannotOpen;
        return false;
    }
    const DWORD access = mode == TMode::ReadWrite ? (GENERIC_READ | GENERIC_WRITE) : GENERIC_READ;
    // Share mode 0: no other opener may read or write while we hold it.
    HANDLE handle = CreateFileW(wideName.c_str(), access, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        // CreateFileW refuses a folder as access denied; report it as what it
        // is, as the open of the other systems does.
        const DWORD attributes = GetFileAttributesW(wideName.c_str());
        Error =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                ? TError::NotAFile
                : TError::CannotOpen;
        return false;
    }
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        Error = TError::NotAFile;
        return false;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle, &size)) {
        CloseHandle(handle);
        Error = TError::Io;
        return false;
    }
    if (size.QuadPart < minimumSize) {
        CloseHandle(handle);
        Error = TError::TooShort;
        return false;
    }
    Handle = handle;
    Size = size.QuadPart;
    Position = 0;
    return true;
}

bool TCmDiskFile::Flush() {
    if (!IsOpen() || !FlushFileBuffers(static_cast<HANDLE>(Handle))) {
        Error = TError::Io;
        return false;
    }
    return true;
}

void TCmDiskFile::Close() {
    if (Handle != nullptr)
        CloseHandle(static_cast<HANDLE>(Handle));
    Handle = nullptr;
    Position = 0;
    Size = 0;
}

bool TCmDiskFile::IsOpen() const {
    return Handle != nullptr;
}

bool TCmDiskFile::Seek(int64_t offset) {
    LARGE_INTEGER target;
    target.QuadPart = offset;
    // Nothing past the end can be read, and nothing there may be written.
    if (!IsOpen() || offset < 0 || offset > Size ||
        !SetFilePointerEx(static_cast<HANDLE>(Handle), target, nullptr, FILE_BEGIN)) {
        Error = TError::Io;
        return false;
    }
    Position = offset;
    return true;
}

bool TCmDiskFile::Transfer(unsigned char (&bytes)[4], bool write) {
    // The word moves at the file pointer that Seek set; a short transfer goes on.
    DWORD done = 0;
    while (IsOpen() && done < 4) {
        DWORD moved = 0;
        const BOOL ok =
            write ? WriteFile(static_cast<HANDLE>(Handle), bytes + done, 4 - done, &moved, nullptr)
                  : ReadFile(static_cast<HANDLE>(Handle), bytes + done, 4 - done, &moved, nullptr);
        if (!ok || moved == 0)
            break;
        done += moved;
    }
    return done == 4;
}

#else

bool TCmDiskFile::Open(const std::string& fileName, TMode mode, int64_t minimumSize) {
    Close();
    Error = TError::None;
    if (!IsUsableName(fileName)) {
        Error = TError::CannotOpen;
        return false;
    }
    // O_NONBLOCK so that a FIFO given by mistake is refused instead of hanging
    // the open; never O_CREAT or O_TRUNC.
    const int flags =
        (mode == TMode::ReadWrite ? O_RDWR : O_RDONLY) | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
    int fd = -1;
    do {
        fd = ::open(fileName.c_str(), flags);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        Error = errno == EISDIR ? TError::NotAFile : TError::CannotOpen;
        return false;
    }
    const auto fail = [&](TError error) {
        ::close(fd);
        Error = error;
        return false;
    };
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return fail(TError::CannotOpen);
    if (!S_ISREG(info.st_mode))
        return fail(TError::NotAFile);
    // Exclusive and non-blocking: a second opener, another Pitchwright
    // included, fails instead of waiting.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return fail(TError::CannotOpen);
    // The size that counts is the one under the lock.
    if (::fstat(fd, &info) != 0)
        return fail(TError::CannotOpen);
    if (info.st_size < minimumSize)
        return fail(TError::TooShort);
    const int status = ::fcntl(fd, F_GETFL);
    if (status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0)
        return fail(TError::CannotOpen);
    Fd = fd;
    Size = info.st_size;
    Position = 0;
    return true;
}

bool TCmDiskFile::Flush() {
    int result = -1;
    do {
        result = IsOpen() ? ::fsync(Fd) : -1;
    } while (result != 0 && IsOpen() && errno == EINTR);
    if (result != 0) {
        Error = TError::Io;
        return false;
    }
    return true;
}

void TCmDiskFile::Close() {
    if (Fd >= 0)
        ::close(Fd); // releases the lock
    Fd = -1;
    Position = 0;
    Size = 0;
}

bool TCmDiskFile::IsOpen() const {
    return Fd >= 0;
}

bool TCmDiskFile::Seek(int64_t offset) {
    // Nothing past the end can be read, and nothing there may be written.
    if (!IsOpen() || offset < 0 || offset > Size) {
        Error = TError::Io;
        return false;
    }
    Position = offset;
    return true;
}

bool TCmDiskFile::Transfer(unsigned char (&bytes)[4], bool write) {
    size_t done = 0;
    while (IsOpen() && done < 4) {
        const off_t at = static_cast<off_t>(Position + static_cast<int64_t>(done));
        const ssize_t moved = write ? ::pwrite(Fd, bytes + done, 4 - done, at)
                                    : ::pread(Fd, bytes + done, 4 - done, at);
        if (moved < 0 && errno == EINTR)
            continue;
        if (moved <= 0)
            break;
        done += static_cast<size_t>(moved);
    }
    return done == 4;
}

#endif

bool TCmDiskFile::ReadWord(uint32_t& word) {
    unsigned char bytes[4];
    if (!Transfer(bytes, false)) {
        Error = TError::Io;
        return false;
    }
    Position += 4;
    word = FromLittleEndian(bytes);
    return true;
}

bool TCmDiskFile::WriteWord(uint32_t word) {
    unsigned char bytes[4];
    ToLittleEndian(word, bytes);
    // Nothing is written past the size seen at opening: the file never grows.
    if (Position > Size - 4 || !Transfer(bytes, true)) {
        Error = TError::Io;
        return false;
    }
    Position += 4;
    return true;
}

bool TCmMemoryFile::Seek(int64_t offset) {
    if (offset < 0 || static_cast<uint64_t>(offset) > Bytes.size())
        return false;
    Position = static_cast<std::size_t>(offset);
    return true;
}

bool TCmMemoryFile::ReadWord(uint32_t& word) {
    if (Bytes.size() < 4 || Position > Bytes.size() - 4)
        return false;
    unsigned char bytes[4];
    std::copy_n(Bytes.begin() + static_cast<std::ptrdiff_t>(Position), 4, bytes);
    word = FromLittleEndian(bytes);
    Position += 4;
    return true;
}

bool TCmMemoryFile::WriteWord(uint32_t word) {
    if (Bytes.size() < 4 || Position > Bytes.size() - 4)
        return false;
    unsigned char bytes[4];
    ToLittleEndian(word, bytes);
    std::copy_n(bytes, 4, Bytes.begin() + static_cast<std::ptrdiff_t>(Position));
    Position += 4;
    return true;
}
