#include "tactic/Cm_file.h"

#include <algorithm>
#include <random>

#ifdef _WIN32
#include <windows.h>

#include <climits>
#else
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
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

// The folder part of a path with its trailing separator ("" for a bare
// name), so that a temporary made from it lies beside the named file.
std::string FolderPrefix(const std::string& fileName) {
#ifdef _WIN32
    const std::size_t at = fileName.find_last_of("\\/:");
#else
    const std::size_t at = fileName.rfind('/');
#endif
    return at == std::string::npos ? std::string() : fileName.substr(0, at + 1);
}

// A short name of its own for the temporary beside the reserve copy: short,
// so that it fits wherever the reserve copy's own name fits.
std::string TemporaryName(const std::string& folder, std::mt19937& random) {
    static constexpr char Digits[] = "0123456789abcdef";
    std::string name = folder + "~pw";
    for (int i = 0; i < 8; ++i)
        name += Digits[random() % 16];
    return name + ".tmp";
}

// Only names that TemporaryName makes are ever removed as stale.
bool IsTemporaryName(const std::string& name) {
    return name.size() == 15 && name.starts_with("~pw") && name.ends_with(".tmp") &&
           std::all_of(name.begin() + 3, name.begin() + 11,
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

constexpr std::size_t CopyChunk = 64 * 1024;
constexpr int TemporaryAttempts = 100;
// A copy takes milliseconds; a temporary this old and not held was left by a
// save that was killed.
constexpr int64_t StaleSeconds = 60;

} // namespace

TCmDiskFile::~TCmDiskFile() {
    Close();
}

bool TCmDiskFile::Fail(TCmError error, int system) {
    Failure = {error, system};
    return false;
}

bool TCmDiskFile::SameOutsideRegion(TCmDiskFile& other) {
    if (!IsOpen() || !other.IsOpen() || other.FileSize != FileSize)
        return false;
    std::vector<uint8_t> mine(CopyChunk), theirs(CopyChunk);
    const int64_t regionEnd = CmRegionOffset + static_cast<int64_t>(CmRegionSize);
    for (int64_t offset = 0; offset < FileSize;) {
        // The region's bytes are the editor's: they may differ.
        const int64_t end = offset < CmRegionOffset
                                ? std::min(FileSize, CmRegionOffset)
                                : std::min<int64_t>(FileSize, offset + CopyChunk);
        if (offset >= CmRegionOffset && offset < regionEnd) {
            offset = regionEnd;
            continue;
        }
        const std::size_t size = static_cast<std::size_t>(end - offset);
        if (!ReadAt(offset, mine.data(), size) || !other.ReadAt(offset, theirs.data(), size) ||
            !std::equal(mine.begin(), mine.begin() + static_cast<std::ptrdiff_t>(size),
                        theirs.begin()))
            return false;
        offset = end;
    }
    return true;
}

bool TCmDiskFile::ReadRegion(TCmRegion& region) {
    if (FileSize < CmRegionOffset + static_cast<int64_t>(CmRegionSize))
        return Fail(TCmError::TooShort, 0);
    return ReadAt(CmRegionOffset, region.data(), region.size());
}

bool TCmDiskFile::ReadAll(std::vector<uint8_t>& bytes) {
    bytes.assign(static_cast<std::size_t>(FileSize), 0);
    return ReadAt(0, bytes.data(), bytes.size());
}

#ifdef _WIN32

bool CmNoSuchFile(int system) {
    return system == ERROR_FILE_NOT_FOUND || system == ERROR_PATH_NOT_FOUND;
}

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

OVERLAPPED At(int64_t offset) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(static_cast<uint64_t>(offset) & 0xFFFFFFFFu);
    where.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(offset) >> 32);
    return where;
}

// Moves size bytes at offset in as few calls as the system allows.
bool Transfer(HANDLE handle, int64_t offset, uint8_t* data, std::size_t size, bool write) {
    std::size_t done = 0;
    while (done < size) {
        OVERLAPPED where = At(offset + static_cast<int64_t>(done));
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
        DWORD moved = 0;
        const BOOL ok = write ? WriteFile(handle, data + done, want, &moved, &where)
                              : ReadFile(handle, data + done, want, &moved, &where);
        if (!ok || moved == 0)
            return false;
        done += moved;
    }
    return true;
}

TCmFileId IdOf(HANDLE handle, uint64_t* links = nullptr) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info))
        return {};
    if (links != nullptr)
        *links = info.nNumberOfLinks;
    return {info.dwVolumeSerialNumber,
            (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

std::string Narrow(const std::wstring& wide) {
    const int length = static_cast<int>(std::min<std::size_t>(wide.size(), INT_MAX));
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(std::max(bytes, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, text.data(), bytes, nullptr, nullptr);
    return text;
}

// The path the handle's file has, with every link and junction resolved.
std::string FinalPath(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                             FILE_NAME_NORMALIZED);
    if (length >= path.size()) {
        path.assign(length, L'\0');
        length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                           FILE_NAME_NORMALIZED);
    }
    if (length == 0 || length >= path.size())
        return {};
    path.resize(length);
    return Narrow(path);
}

// What a name leads to now, without holding it; {} when nothing.
TCmFileId IdOfName(const std::wstring& name) {
    HANDLE handle = CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {};
    const TCmFileId id = IdOf(handle);
    CloseHandle(handle);
    return id;
}

// Removes the temporaries of killed copies in the folder: our own names only,
// files older than StaleSeconds. One that a copy holds cannot be deleted.
void RemoveStaleTemporaries(const std::string& folder) {
    std::wstring pattern;
    if (!Widen(folder + "~pw*.tmp", pattern))
        return;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    do {
        const std::string name = Narrow(found.cFileName);
        std::wstring path;
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ==
                0 &&
            IsTemporaryName(name) &&
            ticks(now) - ticks(found.ftLastWriteTime) >
                static_cast<uint64_t>(StaleSeconds) * 10000000u &&
            Widen(folder + name, path))
            DeleteFileW(path.c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

DWORD ErrorOr(DWORD fallback) {
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : fallback;
}

// A temporary file of our own naming in the folder, made new and held without
// sharing, after the stale ones of killed writers are gone; an invalid handle
// and the system's error when the folder takes none.
HANDLE CreateTemporary(const std::string& folder, std::wstring& wideTemporary, DWORD& error) {
    RemoveStaleTemporaries(folder);
    std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; attempt < TemporaryAttempts; ++attempt) {
        if (!Widen(TemporaryName(folder, random), wideTemporary)) {
            error = ERROR_INVALID_NAME;
            return INVALID_HANDLE_VALUE;
        }
        HANDLE out = CreateFileW(wideTemporary.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                 CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (out != INVALID_HANDLE_VALUE)
            return out;
        if (GetLastError() != ERROR_FILE_EXISTS) {
            error = GetLastError();
            return INVALID_HANDLE_VALUE;
        }
    }
    error = ERROR_FILE_EXISTS;
    return INVALID_HANDLE_VALUE;
}

// Appends all of `data` at the file's own pointer; ERROR_SUCCESS or the error.
DWORD WriteAll(HANDLE out, const uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        DWORD moved = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
        if (!WriteFile(out, data + done, want, &moved, nullptr) || moved == 0)
            return ErrorOr(ERROR_DISK_FULL);
        done += moved;
    }
    return ERROR_SUCCESS;
}

bool Failed(TCmFailure& failure, TCmError error, DWORD system) {
    failure = {error, static_cast<int>(system)};
    return false;
}

TCmError WriteError(DWORD system) {
    return system == ERROR_DISK_FULL || system == ERROR_HANDLE_DISK_FULL ? TCmError::DiskFull
                                                                         : TCmError::WriteFailed;
}

} // namespace

bool CmWriteNewFile(const std::string& target, std::span<const uint8_t> bytes, bool replace,
                    TCmFailure& failure) {
    failure = {};
    std::wstring wideTarget;
    if (!IsUsableName(target) || !Widen(target, wideTarget))
        return Failed(failure, TCmError::WriteFailed, ERROR_INVALID_NAME);
    const DWORD attributes = GetFileAttributesW(wideTarget.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return Failed(failure, TCmError::TargetIsFolder, 0);
        if (!replace)
            return Failed(failure, TCmError::TargetExists, 0);
    }
    std::wstring wideTemporary;
    DWORD error = ERROR_SUCCESS;
    HANDLE out = CreateTemporary(FolderPrefix(target), wideTemporary, error);
    if (out == INVALID_HANDLE_VALUE)
        return Failed(failure,
                      error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT
                          ? TCmError::FolderNotWritable
                          : WriteError(error),
                      error);
    const auto fail = [&](TCmError why, DWORD system) {
        if (out != INVALID_HANDLE_VALUE)
            CloseHandle(out);
        DeleteFileW(wideTemporary.c_str());
        return Failed(failure, why, system);
    };
    if (const DWORD written = WriteAll(out, bytes.data(), bytes.size()); written != ERROR_SUCCESS)
        return fail(WriteError(written), written);
    LARGE_INTEGER size;
    if (!FlushFileBuffers(out)) {
        const DWORD system = GetLastError();
        return fail(WriteError(system) == TCmError::DiskFull ? TCmError::DiskFull
                                                             : TCmError::FlushFailed,
                    system);
    }
    if (!GetFileSizeEx(out, &size) || static_cast<uint64_t>(size.QuadPart) != bytes.size())
        return fail(TCmError::WriteFailed, ErrorOr(ERROR_WRITE_FAULT));
    CloseHandle(out);
    out = INVALID_HANDLE_VALUE;
    // Without MOVEFILE_REPLACE_EXISTING a name taken since the look above stays as it is.
    if (!MoveFileExW(wideTemporary.c_str(), wideTarget.c_str(),
                     (replace ? MOVEFILE_REPLACE_EXISTING : 0) | MOVEFILE_WRITE_THROUGH)) {
        const DWORD system = GetLastError();
        return system == ERROR_ALREADY_EXISTS || system == ERROR_FILE_EXISTS
                   ? fail(TCmError::TargetExists, 0)
                   : fail(TCmError::WriteFailed, system);
    }
    return true;
}

std::string CmSystemErrorText(int system) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(system), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string result;
    if (length > 0 && text != nullptr) {
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr,
                                              0, nullptr, nullptr);
        result.assign(static_cast<size_t>(std::max(bytes, 0)), '\0');
        WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), result.data(), bytes,
                            nullptr, nullptr);
    }
    LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' ||
                               result.back() == ' ' || result.back() == '.'))
        result.pop_back();
    return result.empty() ? "error " + std::to_string(system) : result;
}

bool TCmDiskFile::Open(const std::string& fileName, TMode mode, int64_t minimumSize) {
    Close();
    Failure = {};
    std::wstring wideName;
    if (!IsUsableName(fileName) || !Widen(fileName, wideName))
        return Fail(TCmError::CannotOpen, ERROR_INVALID_NAME);
    const DWORD access = mode == TMode::ReadWrite ? (GENERIC_READ | GENERIC_WRITE) : GENERIC_READ;
    // Share mode 0: no other opener may read or write while we hold it.
    HANDLE handle = CreateFileW(wideName.c_str(), access, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
            return Fail(TCmError::Locked, static_cast<int>(error));
        // CreateFileW refuses a folder as access denied; report it as what it
        // is, as the open of the other systems does.
        const DWORD attributes = GetFileAttributesW(wideName.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return Fail(TCmError::NotAFile, 0);
        return Fail(TCmError::CannotOpen, static_cast<int>(error));
    }
    const auto fail = [&](TCmError error, DWORD system) {
        CloseHandle(handle);
        return Fail(error, static_cast<int>(system));
    };
    if (GetFileType(handle) != FILE_TYPE_DISK)
        return fail(TCmError::NotAFile, 0);
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle, &size))
        return fail(TCmError::CannotOpen, GetLastError());
    if (size.QuadPart < minimumSize)
        return fail(TCmError::TooShort, 0);
    Handle = handle;
    FileSize = size.QuadPart;
    FileIdentity = IdOf(handle, &LinkCount);
    Real = FinalPath(handle);
    const DWORD attributes = GetFileAttributesW(wideName.c_str());
    ViaLink =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    return true;
}

void TCmDiskFile::Close() {
    if (Handle != nullptr)
        CloseHandle(static_cast<HANDLE>(Handle));
    Handle = nullptr;
    FileSize = 0;
    FileIdentity = {};
    ViaLink = false;
    Real.clear();
    LinkCount = 0;
}

bool TCmDiskFile::IsOpen() const {
    return Handle != nullptr;
}

bool TCmDiskFile::ReadAt(int64_t offset, uint8_t* data, std::size_t size) {
    if (!IsOpen() || !Transfer(static_cast<HANDLE>(Handle), offset, data, size, false))
        return Fail(TCmError::ReadFailed, static_cast<int>(ErrorOr(ERROR_HANDLE_EOF)));
    return true;
}

bool TCmDiskFile::WriteRegion(const TCmRegion& region) {
    TCmRegion bytes = region;
    if (!IsOpen() ||
        !Transfer(static_cast<HANDLE>(Handle), CmRegionOffset, bytes.data(), bytes.size(), true))
        return Fail(TCmError::WriteFailed, static_cast<int>(ErrorOr(ERROR_WRITE_FAULT)));
    return true;
}

bool TCmDiskFile::Flush() {
    if (!IsOpen() || !FlushFileBuffers(static_cast<HANDLE>(Handle)))
        return Fail(TCmError::FlushFailed, static_cast<int>(ErrorOr(ERROR_WRITE_FAULT)));
    return true;
}

bool TCmDiskFile::StillAt(const std::string& fileName) {
    // Held without sharing, the file cannot be renamed or deleted; a name
    // that leads elsewhere all the same is refused.
    std::wstring wideName;
    if (!IsOpen() || !Widen(fileName, wideName) || IdOfName(wideName) != FileIdentity)
        return Fail(TCmError::Moved, 0);
    return true;
}

bool TCmDiskFile::CopyTo(const std::string& target) {
    std::wstring wideTarget;
    if (!IsOpen() || !IsUsableName(target) || !Widen(target, wideTarget))
        return Fail(TCmError::ReserveFailed, ERROR_INVALID_NAME);
    // Names that differ only in case, or a link, can lead back to this file.
    if (IdOfName(wideTarget) == FileIdentity)
        return Fail(TCmError::ReserveIsTactic, 0);

    std::wstring wideTemporary;
    DWORD error = ERROR_SUCCESS;
    HANDLE out = CreateTemporary(FolderPrefix(target), wideTemporary, error);
    if (out == INVALID_HANDLE_VALUE)
        return Fail(TCmError::ReserveFailed, static_cast<int>(error));
    const auto fail = [&](DWORD system) {
        if (out != INVALID_HANDLE_VALUE)
            CloseHandle(out);
        DeleteFileW(wideTemporary.c_str());
        return Fail(TCmError::ReserveFailed, static_cast<int>(system));
    };

    std::vector<uint8_t> buffer(CopyChunk);
    for (int64_t offset = 0; offset < FileSize;) {
        const std::size_t size =
            static_cast<std::size_t>(std::min<int64_t>(FileSize - offset, CopyChunk));
        if (!ReadAt(offset, buffer.data(), size))
            return fail(static_cast<DWORD>(Failure.System));
        // The temporary's own file pointer moves on with every write.
        if (const DWORD written = WriteAll(out, buffer.data(), size); written != ERROR_SUCCESS)
            return fail(written);
        offset += static_cast<int64_t>(size);
    }
    LARGE_INTEGER written;
    if (!FlushFileBuffers(out))
        return fail(GetLastError());
    if (!GetFileSizeEx(out, &written) || written.QuadPart != FileSize)
        return fail(ErrorOr(ERROR_WRITE_FAULT));
    // Read back and compared: a copy that differs never replaces the earlier one.
    std::vector<uint8_t> copied(CopyChunk);
    for (int64_t offset = 0; offset < FileSize;) {
        const std::size_t size =
            static_cast<std::size_t>(std::min<int64_t>(FileSize - offset, CopyChunk));
        if (!ReadAt(offset, buffer.data(), size))
            return fail(static_cast<DWORD>(Failure.System));
        if (!Transfer(out, offset, copied.data(), size, false))
            return fail(ErrorOr(ERROR_READ_FAULT));
        if (!std::equal(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(size),
                        copied.begin()))
            return fail(ERROR_CRC);
        offset += static_cast<int64_t>(size);
    }
    CloseHandle(out);
    out = INVALID_HANDLE_VALUE;
    if (!MoveFileExW(wideTemporary.c_str(), wideTarget.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return fail(GetLastError());
    return true;
}

#else

std::string CmSystemErrorText(int system) {
    return std::strerror(system);
}

bool CmNoSuchFile(int system) {
    return system == ENOENT;
}

bool TCmDiskFile::Open(const std::string& fileName, TMode mode, int64_t minimumSize) {
    Close();
    Failure = {};
    if (!IsUsableName(fileName))
        return Fail(TCmError::CannotOpen, EINVAL);
    // O_NONBLOCK so that a FIFO given by mistake is refused instead of hanging
    // the open; never O_CREAT or O_TRUNC.
    const int flags =
        (mode == TMode::ReadWrite ? O_RDWR : O_RDONLY) | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
    int fd = -1;
    do {
        fd = ::open(fileName.c_str(), flags);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return errno == EISDIR ? Fail(TCmError::NotAFile, 0) : Fail(TCmError::CannotOpen, errno);
    const auto fail = [&](TCmError error, int system) {
        ::close(fd);
        return Fail(error, system);
    };
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return fail(TCmError::CannotOpen, errno);
    if (!S_ISREG(info.st_mode))
        return fail(TCmError::NotAFile, 0);
    // Exclusive and non-blocking: a second opener, another Pitchwright
    // included, fails instead of waiting.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return errno == EWOULDBLOCK ? fail(TCmError::Locked, 0) : fail(TCmError::CannotOpen, errno);
    // The size that counts is the one under the lock.
    if (::fstat(fd, &info) != 0)
        return fail(TCmError::CannotOpen, errno);
    if (info.st_size < minimumSize)
        return fail(TCmError::TooShort, 0);
    const int status = ::fcntl(fd, F_GETFL);
    if (status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0)
        return fail(TCmError::CannotOpen, errno);
    Fd = fd;
    FileSize = info.st_size;
    FileIdentity = {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
    LinkCount = static_cast<uint64_t>(info.st_nlink);
    struct stat name {};
    ViaLink = ::lstat(fileName.c_str(), &name) == 0 && S_ISLNK(name.st_mode);
    if (char* real = ::realpath(fileName.c_str(), nullptr)) {
        Real = real;
        std::free(real);
    }
    return true;
}

void TCmDiskFile::Close() {
    if (Fd >= 0)
        ::close(Fd); // releases the lock
    Fd = -1;
    FileSize = 0;
    FileIdentity = {};
    ViaLink = false;
    Real.clear();
    LinkCount = 0;
}

bool TCmDiskFile::IsOpen() const {
    return Fd >= 0;
}

bool TCmDiskFile::ReadAt(int64_t offset, uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (IsOpen() && done < size) {
        const ssize_t moved =
            ::pread(Fd, data + done, size - done, static_cast<off_t>(offset) + done);
        if (moved < 0 && errno == EINTR)
            continue;
        if (moved < 0)
            return Fail(TCmError::ReadFailed, errno);
        if (moved == 0)
            break;
        done += static_cast<std::size_t>(moved);
    }
    return done == size || Fail(TCmError::ReadFailed, 0);
}

bool TCmDiskFile::WriteRegion(const TCmRegion& region) {
    std::size_t done = 0;
    while (IsOpen() && done < region.size()) {
        const ssize_t moved = ::pwrite(Fd, region.data() + done, region.size() - done,
                                       static_cast<off_t>(CmRegionOffset) + done);
        if (moved < 0 && errno == EINTR)
            continue;
        if (moved < 0)
            return Fail(TCmError::WriteFailed, errno);
        if (moved == 0)
            break;
        done += static_cast<std::size_t>(moved);
    }
    return done == region.size() || Fail(TCmError::WriteFailed, 0);
}

bool TCmDiskFile::Flush() {
    int result = -1;
    do {
        result = IsOpen() ? ::fsync(Fd) : -1;
    } while (result != 0 && IsOpen() && errno == EINTR);
    return result == 0 || Fail(TCmError::FlushFailed, IsOpen() ? errno : EBADF);
}

bool TCmDiskFile::StillAt(const std::string& fileName) {
    struct stat held {};
    struct stat named {};
    if (!IsOpen() || ::fstat(Fd, &held) != 0 || held.st_nlink == 0 ||
        ::stat(fileName.c_str(), &named) != 0 || named.st_dev != held.st_dev ||
        named.st_ino != held.st_ino)
        return Fail(TCmError::Moved, 0);
    return true;
}

namespace {

// Removes the temporaries of killed copies in the folder: our own names only,
// regular files older than StaleSeconds that no copy holds locked.
void RemoveStaleTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr)
        return; // a folder that cannot be listed keeps them
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryName(entry->d_name))
            continue;
        const std::string path = folder + entry->d_name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
            now - held.st_mtime > StaleSeconds && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::lstat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
            named.st_ino == held.st_ino)
            ::unlink(path.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}

// Modes some file systems cannot set (FUSE ones answer ENOSYS): the copy then
// keeps the mode it was made with.
bool CannotSetModes(int error) {
    return error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP || error == EPERM;
}

// A temporary file of our own naming in the folder, made new (never one that
// was there), after the stale ones of killed writers are gone; -1 and the
// system's error when the folder takes none.
int CreateTemporary(const std::string& folder, mode_t mode, std::string& temporary, int& error) {
    RemoveStaleTemporaries(folder);
    std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; attempt < TemporaryAttempts; ++attempt) {
        temporary = TemporaryName(folder, random);
        const int fd =
            ::open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0) {
            // Held while it exists, so that no other writer takes it for stale;
            // where the file system has no locks, its age alone protects it.
            [[maybe_unused]] const int locked = ::flock(fd, LOCK_EX | LOCK_NB);
            return fd;
        }
        if (errno != EEXIST && errno != EINTR) {
            error = errno;
            return -1;
        }
    }
    error = EEXIST;
    return -1;
}

// Appends all of `data`; 0, or the system's error (ENOSPC when it wrote nothing).
int WriteAll(int fd, const uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t moved = ::write(fd, data + done, size - done);
        if (moved < 0 && errno == EINTR)
            continue;
        if (moved <= 0)
            return moved < 0 ? errno : ENOSPC;
        done += static_cast<std::size_t>(moved);
    }
    return 0;
}

// Flushes the folder, so that a name just given in it reaches the disk; 0,
// or the system's error. `onDisk` is any file open on the same disk.
int SyncFolder(const std::string& folder, int onDisk) {
    const int dir =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int synced = 0;
    if (dir >= 0) {
        synced = ::fsync(dir);
        const int syncError = errno;
        ::close(dir);
        errno = syncError;
    } else {
#ifdef __linux__
        // A folder that can be written but not read (mode 0333) cannot be
        // opened; flushing its whole file system takes the name along.
        synced = ::syncfs(onDisk);
#else
        // Elsewhere nothing else reaches the name; the file itself is whole on the disk.
        static_cast<void>(onDisk);
#endif
    }
    return synced == 0 || errno == EINVAL || errno == ENOTSUP ? 0 : errno;
}

// Gives the temporary the target's name unless that name is taken (errno
// EEXIST then): in one step where the file system can, else by a hard link,
// and where it has none either, after a look.
bool RenameNoReplace(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return false;
#endif
    if (::link(from.c_str(), to.c_str()) == 0)
        return ::unlink(from.c_str()), true;
    if (errno == EEXIST)
        return false;
    struct stat taken {};
    if (::lstat(to.c_str(), &taken) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool Failed(TCmFailure& failure, TCmError error, int system) {
    failure = {error, system};
    return false;
}

TCmError WriteError(int system) {
    return system == ENOSPC || system == EDQUOT ? TCmError::DiskFull : TCmError::WriteFailed;
}

} // namespace

bool CmWriteNewFile(const std::string& target, std::span<const uint8_t> bytes, bool replace,
                    TCmFailure& failure) {
    failure = {};
    if (!IsUsableName(target))
        return Failed(failure, TCmError::WriteFailed, EINVAL);
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode))
            return Failed(failure, TCmError::TargetIsFolder, 0);
        if (!replace)
            return Failed(failure, TCmError::TargetExists, 0);
        if (!S_ISREG(existing.st_mode))
            return Failed(failure, TCmError::NotAFile, 0);
    }
    const std::string folder = FolderPrefix(target);
    std::string temporary;
    int error = 0;
    // A new file gets the modes the user's umask gives every new file.
    int out = CreateTemporary(folder, 0666, temporary, error);
    if (out < 0)
        return Failed(failure,
                      error == EACCES || error == EPERM || error == EROFS
                          ? TCmError::FolderNotWritable
                          : WriteError(error),
                      error);
    const auto fail = [&](TCmError why, int system) {
        ::close(out);
        ::unlink(temporary.c_str());
        return Failed(failure, why, system);
    };
    if (const int written = WriteAll(out, bytes.data(), bytes.size()); written != 0)
        return fail(WriteError(written), written);
    // Some file systems report a full disk only at the flush.
    struct stat info {};
    if (::fsync(out) != 0)
        return fail(WriteError(errno) == TCmError::DiskFull ? TCmError::DiskFull
                                                            : TCmError::FlushFailed,
                    errno);
    if (::fstat(out, &info) != 0 || info.st_size != static_cast<off_t>(bytes.size()))
        return fail(TCmError::WriteFailed, EIO);
    if (replace ? ::rename(temporary.c_str(), target.c_str()) != 0
                : !RenameNoReplace(temporary, target)) {
        // Another program may have put something there since the look above.
        const int system = errno;
        return system == EEXIST ? fail(TCmError::TargetExists, 0)
               : system == EISDIR ? fail(TCmError::TargetIsFolder, 0)
                                  : fail(TCmError::WriteFailed, system);
    }
    const int synced = SyncFolder(folder, out);
    ::close(out); // flushed already: the data's errors were reported there
    return synced == 0 || Failed(failure, TCmError::NameUnconfirmed, synced);
}

bool TCmDiskFile::CopyTo(const std::string& target) {
    if (!IsOpen() || !IsUsableName(target))
        return Fail(TCmError::ReserveFailed, EINVAL);
    struct stat self {};
    struct stat existing {};
    if (::fstat(Fd, &self) != 0)
        return Fail(TCmError::ReserveFailed, errno);
    if (::stat(target.c_str(), &existing) == 0 && existing.st_dev == self.st_dev &&
        existing.st_ino == self.st_ino)
        return Fail(TCmError::ReserveIsTactic, 0);

    const std::string folder = FolderPrefix(target);
    std::string temporary;
    int error = 0;
    int out = CreateTemporary(folder, S_IRUSR | S_IWUSR, temporary, error);
    if (out < 0)
        return Fail(TCmError::ReserveFailed, error);
    const auto fail = [&](int system) {
        if (out >= 0)
            ::close(out);
        ::unlink(temporary.c_str());
        return Fail(TCmError::ReserveFailed, system);
    };

    std::vector<uint8_t> buffer(CopyChunk);
    for (int64_t offset = 0; offset < FileSize;) {
        const std::size_t size =
            static_cast<std::size_t>(std::min<int64_t>(FileSize - offset, CopyChunk));
        if (!ReadAt(offset, buffer.data(), size))
            return fail(Failure.System != 0 ? Failure.System : EIO);
        if (const int written = WriteAll(out, buffer.data(), size); written != 0)
            return fail(written);
        offset += static_cast<int64_t>(size);
    }
    // The copy keeps the tactic's permissions, and its owner where we may give it.
    if (::fchmod(out, self.st_mode & 07777) != 0 && !CannotSetModes(errno))
        return fail(errno);
    [[maybe_unused]] const int owned = ::fchown(out, self.st_uid, self.st_gid);
    // Some file systems report a full disk only here, at the flush; the size
    // is checked too, since a copy reported whole must be whole.
    struct stat written {};
    if (::fsync(out) != 0)
        return fail(errno);
    if (::fstat(out, &written) != 0 || written.st_size != FileSize)
        return fail(EIO);
    // Read back and compared: a copy that differs never replaces the earlier one.
    std::vector<uint8_t> copied(CopyChunk);
    for (int64_t offset = 0; offset < FileSize;) {
        const std::size_t size =
            static_cast<std::size_t>(std::min<int64_t>(FileSize - offset, CopyChunk));
        if (!ReadAt(offset, buffer.data(), size))
            return fail(Failure.System != 0 ? Failure.System : EIO);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t moved =
                ::pread(out, copied.data() + done, size - done, static_cast<off_t>(offset) + done);
            if (moved < 0 && errno == EINTR)
                continue;
            if (moved <= 0)
                return fail(moved < 0 ? errno : EIO);
            done += static_cast<std::size_t>(moved);
        }
        if (!std::equal(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(size),
                        copied.begin()))
            return fail(EIO);
        offset += static_cast<int64_t>(size);
    }
    const int closed = ::close(out);
    out = -1;
    if (closed != 0)
        return fail(errno);
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        return fail(errno);
    // The new name must reach the disk too before the tactic is overwritten.
    // From here on the earlier reserve copy is gone: a failure says so.
    const int synced = SyncFolder(folder, Fd);
    return synced == 0 || Fail(TCmError::ReserveUnconfirmed, synced);
}

#endif

bool TCmMemoryFile::Seek(int64_t offset) {
    if (offset < Base || static_cast<uint64_t>(offset - Base) > Bytes.size())
        return false;
    Position = static_cast<std::size_t>(offset - Base);
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
