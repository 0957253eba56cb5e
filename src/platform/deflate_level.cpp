// Workbooks are the only zip files this program writes. Each part of one is
// deflated at the fastest level: a million-row sheet then compresses in a
// fraction of the time, for a file somewhat larger. Only the zip library
// calls this function, through the dynamic linker, so the build names it to
// the linker: every program that writes workbooks takes it in.
#include <dlfcn.h>
#include <minizip/zip.h>

extern "C" int zipOpenNewFileInZip4_64(zipFile file, const char* filename,
                                       const zip_fileinfo* zipfi, const void* extrafield_local,
                                       uInt size_extrafield_local, const void* extrafield_global,
                                       uInt size_extrafield_global, const char* comment, int method,
                                       int level, int raw, int windowBits, int memLevel,
                                       int strategy, const char* password, uLong crcForCrypting,
                                       uLong versionMadeBy, uLong flagBase, int zip64) {
    using Open = decltype(&zipOpenNewFileInZip4_64);
    static const auto open = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "zipOpenNewFileInZip4_64"));
    if (!open) return ZIP_INTERNALERROR;
    if (method == Z_DEFLATED && level != 0) level = Z_BEST_SPEED;
    return open(file, filename, zipfi, extrafield_local, size_extrafield_local, extrafield_global,
                size_extrafield_global, comment, method, level, raw, windowBits, memLevel, strategy,
                password, crcForCrypting, versionMadeBy, flagBase, zip64);
}
