#pragma once

#include "forms/Form.h"

class QLabel;

// "关于..": the program's name and its maker, whose web page the name opens.
class TfrmAbout : public TForm {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);
    static const QString MakerUrl;

private:
    void Label2Click();
};

bool ShowAbout();
