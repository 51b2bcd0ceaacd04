#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// What the stand-in clock holds: the identity it reports, the administration records of the memory module,
// its race records and its liberation table. Records are kept as text; they travel as Windows-1252.
struct ClockScenario {
    struct Rbm {
        int version = 123; // times 100
        int second = 100;  // second version figure, times 100
        QString status = QStringLiteral("3");
        QString serial = QStringLiteral("000000FF"); // 8 hexadecimal digits
    };
    struct Pcf {
        int version = 105;
        QString serial = QStringLiteral("00FF"); // 4 hexadecimal digits
    };

    Rbm rbm;
    Pcf pcf;
    // Administration records. A module without any of them holds no inventory and serves asterisk records.
    QString s1, s2, s3;
    QStringList birds;       // Z records
    QStringList races;       // race headers and clockings in series order
    QStringList liberations; // "I0..." commands as received

    bool hasInventory() const { return !s1.isEmpty() || !s2.isEmpty() || !s3.isEmpty() || !birds.isEmpty(); }

    // A flyer with a few birds and two races with clockings, for trying the program without a clock.
    static ClockScenario demo();

    static std::optional<ClockScenario> fromJson(const QByteArray& json, QString* error = nullptr);
    QByteArray toJson() const;
    static std::optional<ClockScenario> load(const QString& path, QString* error = nullptr);
    bool save(const QString& path, QString* error = nullptr) const;
};
