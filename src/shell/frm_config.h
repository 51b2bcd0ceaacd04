#pragma once

#include "settings/configuration.h"
#include "settings/result_settings.h"

#include <QWidget>

class AppContext;
class QComboBox;
class QLineEdit;
class QPushButton;

// The configuration window. Loaded at start-up and kept (hidden) for the run: its fields are the current
// settings. Closing it by any means stores them.
class frmConfig : public QWidget {
    Q_OBJECT
public:
    explicit frmConfig(AppContext& context, QWidget* parent = nullptr);
    ~frmConfig() override;

    // Fills the fields from the store, points a closed port at the stored number and sets the title.
    void LoadSettings();
    // Stores the fields and sets the title.
    void SaveSettings();
    ConfigValues fields() const;
    ResultSettings resultFields() const;

    QComboBox* Combo1;
    QLineEdit* concrs;
    QLineEdit* combn;
    QLineEdit* cmbname;
    QLineEdit* txtComPort;
    QComboBox* cboComDevice;
    QLineEdit* txtDatabaseServer;
    QComboBox* cboLatitudeHemisphere;
    QComboBox* cboLongitudeHemisphere;
    QComboBox* cboVelocityUnit;
    QPushButton* save_config;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void saveClicked();
    void fillDeviceList(const QString& current);
    void fieldsChanged();

    AppContext& m_context;
    bool m_loading = false;
};
