// Crash-safe replacement of a file: a new file beside it, flushed, renamed over it.
#include "platform/access/access_internal.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace devimax::access {

using namespace detail;

namespace {

std::atomic<ReplaceStep> g_failAt{ReplaceStep::None};
std::atomic<int> g_failErrno{EIO};

// True when the step must fail (errno set as a failing system call would).
bool injected(ReplaceStep step) {
    if (g_failAt.load() != step)
        return false;
    errno = g_failErrno.load();
    return true;
}

std::string reason(int code) {
    switch (code) {
    case ENOSPC:
        return "le disque est plein";
    case EDQUOT:
        return "le quota de disque est dépassé";
    case EIO:
        return "erreur d'entrée-sortie";
    case EROFS:
        return "le support est en lecture seule";
    case EACCES:
    case EPERM:
        return "accès refusé";
    default:
        return "erreur système n° " + std::to_string(code);
    }
}

Error writeError(const std::string& path, int code) {
    if (code == EACCES || code == EPERM || code == EROFS)
        return makeError(errc::ReadOnly, path);
    return Error{errc::WriteFailed, "Impossible d'enregistrer le fichier " + quoted(path) + " : " +
                                        reason(code) + ". Le fichier n'a pas été modifié."};
}

} // namespace

namespace detail {

void setReplaceFailure(ReplaceStep step, int error) {
    g_failErrno.store(error);
    g_failAt.store(step);
}

} // namespace detail

bool replaceFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes,
                           Error& error) {
    const auto slash = path.rfind('/');
    const std::string directory =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));

    mode_t mode = 0644;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            error = makeError(errc::CannotOpen, path, "Ce n'est pas un fichier ordinaire.");
            return false;
        }
        mode = st.st_mode & 07777;
        if (::access(path.c_str(), W_OK) != 0) {
            error = makeError(errc::ReadOnly, path);
            return false;
        }
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    std::string temp = path + ".tmp-XXXXXX";
    const int fd = injected(ReplaceStep::CreateTemp) ? -1 : ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        error = writeError(path, errno);
        return false;
    }
    const auto fail = [&](int code) {
        ::close(fd);
        ::unlink(temp.c_str());
        error = writeError(path, code);
        return false;
    };
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = injected(ReplaceStep::Write)
                              ? -1
                              : ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : ENOSPC);
        done += static_cast<std::size_t>(n);
    }
    if (injected(ReplaceStep::Chmod) || ::fchmod(fd, mode) != 0)
        return fail(errno);
    if (injected(ReplaceStep::Sync) || ::fsync(fd) != 0)
        return fail(errno);
    if (injected(ReplaceStep::Close) || ::close(fd) != 0) {
        const int code = errno;
        ::unlink(temp.c_str());
        error = writeError(path, code);
        return false;
    }
    if (injected(ReplaceStep::Rename) || ::rename(temp.c_str(), path.c_str()) != 0) {
        const int code = errno;
        ::unlink(temp.c_str());
        error = writeError(path, code);
        return false;
    }
    // The new contents are in place; flushing the directory makes the rename durable.
    // A failure here cannot be undone any more and is not reported.
    const int dir = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

} // namespace devimax::access
