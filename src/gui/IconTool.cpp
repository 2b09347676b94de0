// Build tool: writes the program's icon as a PNG file for the desktop's icon theme.
#include "resources/quorvix.xpm"

#include <QImage>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quorvix-icon-tool OUTPUT.png\n");
        return 2;
    }
    const QImage icon(QuorvixIconXpm);
    if (icon.isNull() || !icon.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "quorvix-icon-tool: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
