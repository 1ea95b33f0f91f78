#include "platform/fileerror.h"

#include <gtest/gtest.h>

#include <cerrno>

TEST(FileError, EveryCauseHasItsMessageWithThePath)
{
    const struct {
        FileErrorCause cause;
        const char* message;
    } cases[] = {
        {FileErrorCause::None, "No error occurred."},
        {FileErrorCause::Generic, "An unknown error occurred while accessing P."},
        {FileErrorCause::FileNotFound, "P was not found."},
        {FileErrorCause::BadPath, "P contains an invalid path."},
        {FileErrorCause::TooManyOpenFiles, "P could not be opened because there are too many open files."},
        {FileErrorCause::AccessDenied, "Access to P was denied."},
        {FileErrorCause::InvalidFile, "An invalid file handle was associated with P."},
        {FileErrorCause::RemoveCurrentDir, "P could not be removed because it is the current directory."},
        {FileErrorCause::DirectoryFull, "P could not be created because the directory is full."},
        {FileErrorCause::BadSeek, "Seek failed on P"},
        {FileErrorCause::HardIO, "A hardware I/O error was reported while accessing P."},
        {FileErrorCause::SharingViolation, "A sharing violation occurred while accessing P."},
        {FileErrorCause::LockViolation, "A locking violation occurred while accessing P."},
        {FileErrorCause::DiskFull, "Disk full while accessing P."},
        {FileErrorCause::EndOfFile, "An attempt was made to access P past its end."},
    };
    for (const auto& c : cases) {
        const QString path = QStringLiteral("\\My Documents\\Board.min");
        EXPECT_EQ(FileError({c.cause, path}).message(),
                  QString::fromLatin1(c.message).replace(QLatin1Char('P'), path));
    }
    EXPECT_EQ(FileError({FileErrorCause::AccessDenied, QString()}).message(),
              QStringLiteral("Access to an unnamed file was denied."));
}

TEST(FileError, ErrnoValuesMapToTheirCauses)
{
    EXPECT_EQ(FileError::causeFromErrno(ENOENT), FileErrorCause::FileNotFound);
    EXPECT_EQ(FileError::causeFromErrno(ENOTDIR), FileErrorCause::FileNotFound);
    EXPECT_EQ(FileError::causeFromErrno(EACCES), FileErrorCause::AccessDenied);
    EXPECT_EQ(FileError::causeFromErrno(EPERM), FileErrorCause::AccessDenied);
    EXPECT_EQ(FileError::causeFromErrno(EROFS), FileErrorCause::AccessDenied);
    EXPECT_EQ(FileError::causeFromErrno(ENOSPC), FileErrorCause::DiskFull);
    EXPECT_EQ(FileError::causeFromErrno(EDQUOT), FileErrorCause::DiskFull);
    EXPECT_EQ(FileError::causeFromErrno(EFBIG), FileErrorCause::DiskFull);
    EXPECT_EQ(FileError::causeFromErrno(EMFILE), FileErrorCause::TooManyOpenFiles);
    EXPECT_EQ(FileError::causeFromErrno(EIO), FileErrorCause::HardIO);
    EXPECT_EQ(FileError::causeFromErrno(0), FileErrorCause::Generic);
    EXPECT_EQ(FileError::causeFromErrno(EPROTO), FileErrorCause::Generic);
}
