#include "slip/cups_library.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __ELF__
#include <link.h>
#endif

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace recibo {

namespace {

const char *const kDefaultLibrary = "libcups.so.2";

std::mutex libraryMutex;
std::string libraryFile = kDefaultLibrary; // guarded by libraryMutex
// The last library loaded whole, with the file it came from; a library once
// loaded stays for the rest of the run (guarded by libraryMutex).
std::string loadedFile;
std::unique_ptr<const CupsLibrary> loadedLibrary;

// Why a library did not load, found out from the facts the system gives in
// the program's own terms (never from the loader's message, which is in the
// language of the user's settings).
enum class LoadCause { Missing, NoPermission, NoMemory, Damaged, WrongVersion, Other };

PrintOutcome libraryFailure(LoadCause cause)
{
    QString what;
    switch (cause) {
    case LoadCause::Missing:
        what = QStringLiteral("No se pudo imprimir: falta en el sistema la biblioteca de impresión CUPS.");
        break;
    case LoadCause::NoPermission:
        what = QStringLiteral("No se pudo imprimir: el sistema no permite leer la biblioteca de impresión CUPS.");
        break;
    case LoadCause::NoMemory:
        return printFailure(QStringLiteral("No se pudo imprimir: no hay memoria suficiente para cargar la "
                                           "biblioteca de impresión CUPS."),
                            QStringLiteral("Cierre otros programas y vuelva a imprimir, o guarde el recibo como PDF."));
    case LoadCause::WrongVersion:
        what = QStringLiteral("No se pudo imprimir: la biblioteca de impresión CUPS del sistema es de una versión "
                              "que este programa no puede usar.");
        break;
    case LoadCause::Damaged:
        what = QStringLiteral("No se pudo imprimir: la biblioteca de impresión CUPS del sistema está dañada.");
        break;
    case LoadCause::Other:
        what = QStringLiteral("No se pudo imprimir: no se pudo cargar la biblioteca de impresión CUPS.");
        break;
    }
    return printFailure(what, QStringLiteral("Pida a quien administra el equipo que instale o repare el paquete "
                                             "libcups2, o guarde el recibo como PDF."));
}

// The file the loader would take for `file`: the file itself where it names
// a folder, else the first of the folders the loader searches that holds
// it (those of LD_LIBRARY_PATH, the folder of the C library this program
// runs with, and the usual ones); empty where none does.
std::string locate(const std::string &file)
{
    if (file.find('/') != std::string::npos)
        return file;
    std::vector<std::string> folders;
    if (const char *paths = std::getenv("LD_LIBRARY_PATH")) {
        std::string rest = paths;
        for (std::size_t colon; (colon = rest.find(':')) != std::string::npos; rest.erase(0, colon + 1))
            folders.push_back(rest.substr(0, colon));
        folders.push_back(rest);
    }
    if (Dl_info libc{}; dladdr(reinterpret_cast<void *>(&std::getenv), &libc) && libc.dli_fname) {
        const std::string where = libc.dli_fname;
        folders.push_back(where.substr(0, where.rfind('/')));
    }
    for (const char *usual : {"/usr/local/lib", "/usr/lib", "/lib"})
        folders.emplace_back(usual);
    for (const std::string &folder : folders) {
        const std::string path = (folder.empty() ? std::string(".") : folder) + "/" + file;
        if (::access(path.c_str(), F_OK) == 0)
            return path;
    }
    return {};
}

// Whether the file at `fd` starts as a library of this program's kind does
// (an ELF file of its class and machine); true where the system's libraries
// are of another format.
bool isLibraryOfOurKind(int fd)
{
#ifdef __ELF__
    ElfW(Ehdr) header{};
    if (::pread(fd, &header, sizeof header, 0) != ssize_t(sizeof header))
        return false;
    ElfW(Ehdr) ours{};
    const int self = ::open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
    const bool known = self >= 0 && ::pread(self, &ours, sizeof ours, 0) == ssize_t(sizeof ours);
    if (self >= 0)
        ::close(self);
    return std::memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 && header.e_type == ET_DYN &&
           (!known || (header.e_ident[EI_CLASS] == ours.e_ident[EI_CLASS] && header.e_machine == ours.e_machine));
#else
    static_cast<void>(fd);
    return true;
#endif
}

// Why `file` did not load, `loadError` being the system's error number
// right after the attempt: whether the file is there, can be read, is a
// library of this program's kind and can be mapped, as the loader does.
LoadCause whyNotLoaded(const std::string &file, int loadError)
{
    if (loadError == ENOMEM)
        return LoadCause::NoMemory;
    const std::string path = locate(file);
    if (path.empty())
        return LoadCause::Missing;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR)
            return LoadCause::Missing;
        if (error == EACCES || error == EPERM)
            return LoadCause::NoPermission;
        return error == ENOMEM ? LoadCause::NoMemory : LoadCause::Other;
    }
    LoadCause cause = LoadCause::Other;
    struct stat facts {};
    if (::fstat(fd, &facts) != 0 || !S_ISREG(facts.st_mode) || !isLibraryOfOurKind(fd)) {
        cause = LoadCause::Damaged;
    } else if (void *mapped = ::mmap(nullptr, std::size_t(facts.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
               mapped == MAP_FAILED) {
        cause = errno == ENOMEM ? LoadCause::NoMemory : LoadCause::Other;
    } else {
        ::munmap(mapped, std::size_t(facts.st_size));
    }
    ::close(fd);
    // A file that is there, readable, of the right kind and mappable: what
    // failed is something it needs in turn.
    return cause;
}

template <typename Function> bool resolve(void *handle, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(dlsym(handle, name));
    return function != nullptr;
}

} // namespace

const CupsLibrary *libcups(PrintOutcome &failure)
{
    std::lock_guard lock(libraryMutex);
    if (loadedLibrary && loadedFile == libraryFile)
        return loadedLibrary.get();
    errno = 0;
    void *handle = dlopen(libraryFile.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const int loadError = errno;
        dlerror(); // the loader's own words are not used, only cleared
        failure = libraryFailure(whyNotLoaded(libraryFile, loadError));
        return nullptr;
    }
    auto cups = std::make_unique<CupsLibrary>();
    const bool whole =
        resolve(handle, "httpConnect2", cups->httpConnect2) &&
        resolve(handle, "httpSetTimeout", cups->httpSetTimeout) && resolve(handle, "httpClose", cups->httpClose) &&
        resolve(handle, "httpError", cups->httpError) && resolve(handle, "httpGetPending", cups->httpGetPending) &&
        resolve(handle, "cupsServer", cups->cupsServer) && resolve(handle, "ippPort", cups->ippPort) &&
        resolve(handle, "cupsEncryption", cups->cupsEncryption) && resolve(handle, "cupsUser", cups->cupsUser) &&
        resolve(handle, "cupsGetNamedDest", cups->cupsGetNamedDest) &&
        resolve(handle, "cupsFreeDests", cups->cupsFreeDests) &&
        resolve(handle, "cupsGetOption", cups->cupsGetOption) &&
        resolve(handle, "cupsEncodeOptions2", cups->cupsEncodeOptions2) &&
        resolve(handle, "cupsLastError", cups->cupsLastError) &&
        resolve(handle, "ippNewRequest", cups->ippNewRequest) && resolve(handle, "ippAddString", cups->ippAddString) &&
        resolve(handle, "ippFindAttribute", cups->ippFindAttribute) &&
        resolve(handle, "ippGetInteger", cups->ippGetInteger) &&
        resolve(handle, "ippGetStatusCode", cups->ippGetStatusCode) && resolve(handle, "ippDelete", cups->ippDelete) &&
        resolve(handle, "cupsDoRequest", cups->cupsDoRequest) &&
        resolve(handle, "cupsCancelJob2", cups->cupsCancelJob2) &&
        resolve(handle, "cupsStartDocument", cups->cupsStartDocument) &&
        resolve(handle, "cupsWriteRequestData", cups->cupsWriteRequestData) &&
        resolve(handle, "cupsGetResponse", cups->cupsGetResponse);
    if (!whole) {
        dlclose(handle);
        failure = libraryFailure(LoadCause::WrongVersion);
        return nullptr;
    }
    // An earlier library stays loaded: a worker may still be using it.
    loadedFile = libraryFile;
    loadedLibrary = std::move(cups);
    return loadedLibrary.get();
}

void setPrintLibrary(const QString &file)
{
    std::lock_guard lock(libraryMutex);
    libraryFile = file.isEmpty() ? std::string(kDefaultLibrary) : file.toStdString();
}

} // namespace recibo
