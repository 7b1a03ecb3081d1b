// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The appraisal files: saving, opening and clearing an appraisal, and the
// appraiser's particulars files. The record's values are read from and put
// back into the pages' controls, found by their persisted names, so every
// reaction of the pages runs as it does for a user.
#include "files/appraisalset.h"

#include <QDate>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace brevan::app {

class MainWindow;
struct OpenedAppraisal;

class FileOps : public QObject {
    Q_OBJECT
public:
    explicit FileOps(MainWindow *window, QObject *parent = nullptr);

    // The three surfaces behind the surfaces page (fields 41 to 43, the
    // unformatted number texts); empty texts until it is set.
    std::function<QStringList()> surfaceValues;
    // Whether opening reads the pictures' pixels; brevan-export writing
    // only text needs to know only which pages have one.
    bool picturePixels = true;
    // Today, for the new appraisal's date.
    std::function<QDate()> today = [] { return QDate::currentDate(); };

    // The 149 values the pages hold now, with the companion names given,
    // and the currency of their amounts.
    files::RecordValues currentRecord(const QHash<QString, QString> &companions = {}) const;
    // Everything a save writes: the record, the pictures, the working tables'
    // rows. A comparable being edited is posted first, or left out.
    files::AppraisalContent currentContent(bool postPendingEdit = true);
    // The control of a persisted field, nullptr for the fields without one.
    QWidget *control(const QString &field) const { return m_controls.value(field); }

    static QString saveFailureText();
    static QString openFailureText();
    static QString newQuestionText();
    // Pictures named as "\"Foto - ….bmp\" (Illustrazione fotografica)".
    static QString unreadablePicturesText(const QStringList &pictures);
    // The market comparison's companion, by its file name.
    static QString unreadableMcaText(const QString &companion);
    static QString unreadableCadastralText(const QString &companion);
    static QString unreadableOmiText(const QString &companion);
    static QString unreadablePeriziaText(const QString &companion);
    static QString appraiserSaveFailureText();
    static QString appraiserLoadFailureText();

    // Opening without the dialog: reads the appraisal at tablePath into the
    // pages (steps 3 to 9 of opening). Everything is read before the pages
    // change: false when it failed (the warning has been shown, the pages are
    // as they were). A picture or a market comparison that cannot be read
    // only leaves its page or the comparison empty, and is named.
    bool openAppraisal(const QString &tablePath);

    // A typed field shown again (undo, redo): its control gets the text or
    // the tick, and its reactions run as they do for the user's edit.
    void showField(const QString &field, const QVariant &value);
    // Switches to the currency in Euro or in Lire as the toolbar button does,
    // unless it is in force already.
    void takeCurrency(bool euro);

public Q_SLOTS:
    void FileSave1Execute();
    void FileOpen1Execute();
    void FileNew1Execute();
    void SpeedButton56Click(); // save the appraiser's particulars
    void SpeedButton54Click(); // load the appraiser's particulars

Q_SIGNALS:
    // Saving, once a file is chosen: both values brought up to date before
    // the record is built.
    void CalcolaCIValoreMercatoRequested();
    void CalcolaCDValoreMercatoRequested();
    // The appraisal in the pages is now the one just saved, opened or cleared.
    void appraisalSaved();
    void appraisalOpened();
    void appraisalCleared();
    // An appraisal's fields were read into the pages (opening, or taking back
    // a recovery copy), before appraisalOpened.
    void appraisalRead();

    // Opening, after the surfaces table was taken over or rebuilt.
    void AttivaSpeedButtonCalcolaSuperficiRequested();
    // The end of opening (also when cancelled or failed), step 13 of a new
    // appraisal, the end of loading the particulars (also when cancelled).
    void ImpostaSemaforiTreeViewRequested();
    // New appraisal, right after the working comparables table was rebuilt.
    void clearPreviousAppraisalsRequested();
    // New appraisal, right after the working surfaces table was rebuilt with
    // 25 rows: the surfaces commands and the three values behind the page.
    void surfacesClearedForNewAppraisal();

private:
    QString readText(const FieldDef &f) const;
    bool readTick(const FieldDef &f) const;
    void writeText(const FieldDef &f, const QString &text);
    void writeTick(const FieldDef &f, bool on);
    void clearField(int number);
    // Shows an appraisal read whole, in the order opening writes the fields.
    void showAppraisal(OpenedAppraisal &opened);
    void saveAppraisal(const QString &tablePath);

    MainWindow *m_window;
    QHash<QString, QWidget *> m_controls;
    // The Paradox originals the last save kept beside the files it replaced.
    QStringList m_keptOriginals;
    // Where the particulars dialogs open next: the folder last chosen in each.
    QString m_appraiserSaveFolder;
    QString m_appraiserLoadFolder;
};

} // namespace brevan::app
