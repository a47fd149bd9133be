#include "Gbk.h"

#include <iconv.h>

#include <cerrno>

QByteArray toGbk(const QString &text)
{
    QByteArray out;
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return text.toLocal8Bit();

    // One character at a time, so that an unknown one is replaced, not fatal.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QByteArray in = text.mid(i, len).toUtf8();
        char buf[16];
        char *inPtr = in.data();
        size_t inLeft = size_t(in.size());
        char *outPtr = buf;
        size_t outLeft = sizeof buf;
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1)) {
            out += '?';
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        } else {
            out.append(buf, qsizetype(sizeof buf - outLeft));
        }
        i += len;
    }
    iconv_close(cd);
    return out;
}
