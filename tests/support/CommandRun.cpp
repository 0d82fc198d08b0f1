#include "support/CommandRun.h"

#include "app/CommandLine.h"

#include <cstdio>
#include <cstdlib>

CommandOutcome runCommand(const QStringList& arguments)
{
    char* outText = nullptr;
    char* errText = nullptr;
    size_t outSize = 0, errSize = 0;
    std::FILE* o = open_memstream(&outText, &outSize);
    std::FILE* e = open_memstream(&errText, &errSize);
    CommandOutcome r;
    r.status = CommandLine::run(arguments, o, e);
    std::fclose(o);
    std::fclose(e);
    r.out = QString::fromUtf8(outText, static_cast<qsizetype>(outSize));
    r.err = QString::fromUtf8(errText, static_cast<qsizetype>(errSize));
    std::free(outText);
    std::free(errText);
    return r;
}
