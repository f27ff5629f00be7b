#include "slip/cups_library.h"

#include <dlfcn.h>

#include <memory>
#include <mutex>
#include <string>

namespace recibo {

namespace {

const char *const kDefaultLibrary = "libcups.so.2";

std::mutex libraryMutex;
std::string libraryFile = kDefaultLibrary; // guarded by libraryMutex
// The last library loaded whole, with the file it came from; a library once
// loaded stays for the rest of the run (guarded by libraryMutex).
std::string loadedFile;
std::unique_ptr<const CupsLibrary> loadedLibrary;

// The loader's words for why a library did not load, as the user reads them.
PrintOutcome libraryFailure(const char *loaderText)
{
    const std::string text = loaderText ? loaderText : "";
    const auto says = [&text](const char *words) { return text.find(words) != std::string::npos; };
    QString what;
    if (says("No such file") || says("cannot open shared object file: No such"))
        what = QStringLiteral("No se pudo imprimir: falta en el sistema la biblioteca de impresión CUPS.");
    else if (says("Permission denied") || says("Operation not permitted"))
        what = QStringLiteral("No se pudo imprimir: el sistema no permite leer la biblioteca de impresión CUPS.");
    else if (says("Cannot allocate memory") || says("failed to map segment") || says("out of memory"))
        return printFailure(QStringLiteral("No se pudo imprimir: no hay memoria suficiente para cargar la "
                                           "biblioteca de impresión CUPS."),
                            QStringLiteral("Cierre otros programas y vuelva a imprimir, o guarde el recibo como PDF."));
    else if (says("undefined symbol") || says("version") || says("missing function"))
        what = QStringLiteral("No se pudo imprimir: la biblioteca de impresión CUPS del sistema es de una versión "
                              "que este programa no puede usar.");
    else if (says("ELF") || says("too short") || says("file too short") || says("invalid"))
        what = QStringLiteral("No se pudo imprimir: la biblioteca de impresión CUPS del sistema está dañada.");
    else
        what = QStringLiteral("No se pudo imprimir: no se pudo cargar la biblioteca de impresión CUPS.");
    return printFailure(what, QStringLiteral("Pida a quien administra el equipo que instale o repare el paquete "
                                             "libcups2, o guarde el recibo como PDF."));
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
    void *handle = dlopen(libraryFile.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        failure = libraryFailure(dlerror());
        return nullptr;
    }
    auto cups = std::make_unique<CupsLibrary>();
    const bool whole =
        resolve(handle, "httpConnect2", cups->httpConnect2) &&
        resolve(handle, "httpSetTimeout", cups->httpSetTimeout) && resolve(handle, "httpClose", cups->httpClose) &&
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
        failure = libraryFailure("missing function");
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
