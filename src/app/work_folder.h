#pragma once
#include <cstdint>
#include <QByteArray>
#include <QString>

// Milliseconds since system start as an unsigned 32-bit number (it wraps after 49 days).
uint32_t TickCount();

// The files of one run under the documents folder: the one page file every box page
// is written to, and the folder of its sub pages (ending in '/'). Both names carry the
// same tick count, so two runs started at different moments never share them.
struct WorkFolder {
    QString pagePath;
    QString subPageFolder;
};
WorkFolder MakeWorkFolder(const QString& documentsFolder, uint32_t tick);

// Deletes a stale page file of the same name, then creates <documents>/Corvel/ and the
// sub-page folder with every missing level.
void PrepareWorkFolder(const WorkFolder& folder);
// Deletes the page file and the sub-page folder with everything in it, silently.
void RemoveWorkFolder(const WorkFolder& folder);

// True for a page file directly in the sub-page folder: the only files a page may ask for.
bool IsSubPagePath(const WorkFolder& folder, const QString& path);

// The folder of the images (beside the program in a build, under share/ when installed).
QString ImageFolder();

// The welcome page: the logo and the caption on a gradient, in one line of markup, and
// `after` (markup) below them. Returns false when the page file cannot be written.
bool WriteWelcomePage(const QString& pagePath, const QString& logoPath, const QString& caption,
                      const QByteArray& after = QByteArray());
