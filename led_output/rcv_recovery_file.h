#ifndef QEL_LED_OUTPUT_RCV_RECOVERY_FILE_H
#define QEL_LED_OUTPUT_RCV_RECOVERY_FILE_H

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <mutex>

#include "core/types.h"

// Receiving-card recovery data and the file lists the screens count.
//
// Each regular file of "/data/rcvrecovery" is the recovery data of one
// screen; screen n is the n-th file by name. Layout:
//   0  "QRCV"
//   4  u8 format (1)
//   5  u8 section count (1..24)
//   then per section: u8 output port 0..23, u8 0, u16 LE card count c,
//   and c parameter blocks of rcv_card::PARA_SIZE bytes, card 0 first.
// A file that does not follow this is skipped.
class rcvRecovery
{
public:
    static const char *const RECOVERY_DIR;   // "/data/rcvrecovery"
    static const char *const SMART_DIR;      // "/data/smartmapping"
    static constexpr int MAX_FILE_SIZE = 16 * 1024 * 1024;

    struct Section
    {
        u8 port = 0;
        u16 card_count = 0;
        QByteArray blocks;   // card_count blocks
    };

    // "/data/smartmapping": the second list; "/data/rcvrecovery": the
    // recovery list. 0 when listed, 1 when the folder is missing or unknown.
    int get_dir_file(const QString &path);

    int recovery_file_count() const;
    int smart_file_count() const;
    QStringList recovery_files() const;
    QStringList smart_files() const;

    // The sections of screen n (recovery list order), or of a file by name;
    // false and no sections when unusable.
    bool read_screen(int screen, QVector<Section> *sections) const;
    bool read_file(const QString &name, QVector<Section> *sections) const;
    static bool parse(const QByteArray &data, QVector<Section> *sections);
    static QByteArray block(const Section &s, int card);

    // The file, port and card count of the last card found needing recovery.
    void set_found(const QString &file, u8 port, u16 card_count);
    QString found_file() const;
    u8 port_index() const;
    u16 card_count() const;

private:
    mutable std::mutex m_mutex;   // the lists are read on the GUI thread
    QStringList m_recovery_files;
    QStringList m_smart_files;
    QString m_found_file;
    u8 m_port_index = 0;
    u16 m_card_count = 0;
};

#endif
