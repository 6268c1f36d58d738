#include "afx/win/datetime.h"

#include "afx/win/commctrl.h"
#include "afx/win/ddx.h"
#include "afx/win/dlgtemplate.h"

#include <QDateTimeEdit>
#include <QLocale>
#include <QSignalBlocker>

IMPLEMENT_DYNAMIC(CDateTimeCtrl, CWnd)

namespace {

// The formats of the styles, as French Windows shows them.
QString StyleFormat(DWORD style)
{
    if ((style & DTS_TIMEFORMAT) == DTS_TIMEFORMAT)
        return QStringLiteral("HH:mm:ss");
    if (style & DTS_LONGDATEFORMAT)
        return QStringLiteral("dddd d MMMM yyyy");
    return QStringLiteral("dd/MM/yyyy");
}

// Windows' format notation in Qt's: the same letters mostly, "tt" for Qt's "AP", years of one
// or two letters as "yy"; other letters are quoted so that Qt shows them as they are.
QString QtFormat(const QString& format)
{
    QString qt;
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format.at(i);
        if (c == u'\'') {
            // The quoted text, through the closing quote; '' inside it is a quote.
            auto quoteAt = [&format](qsizetype at) { return at < format.size() && format.at(at) == u'\''; };
            qsizetype end = i + 1;
            while (end < format.size() && !(quoteAt(end) && !quoteAt(end + 1)))
                end += quoteAt(end) ? 2 : 1;
            qt += format.mid(i, end + 1 - i);
            i = end + 1;
            continue;
        }
        qsizetype run = 1;
        while (i + run < format.size() && format.at(i + run) == c)
            ++run;
        switch (c.unicode()) {
        case u'd': case u'M':
            qt += QString(std::min<qsizetype>(run, 4), c);
            break;
        case u'h': case u'H': case u'm': case u's':
            qt += QString(std::min<qsizetype>(run, 2), c);
            break;
        case u'y':
            qt += run <= 2 ? QStringLiteral("yy") : QStringLiteral("yyyy");
            break;
        case u't':
            qt += QStringLiteral("AP");
            break;
        default:
            qt += c.isLetter() ? u'\'' + QString(run, c) + u'\'' : QString(run, c);
            break;
        }
        i += run;
    }
    return qt;
}

QDateTimeEdit* Picker(HWND hWnd)
{
    return qobject_cast<QDateTimeEdit*>(hWnd);
}

CTime ReadTime(const QDateTimeEdit* picker)
{
    const QDateTime value = picker->dateTime();
    const QDate date = value.date();
    const QTime time = value.time();
    return CTime(date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second());
}

// Programmatic changes do not notify.
bool WriteTime(QDateTimeEdit* picker, const CTime& time)
{
    const QDateTime value(QDate(time.GetYear(), time.GetMonth(), time.GetDay()),
                          QTime(time.GetHour(), time.GetMinute(), time.GetSecond()));
    if (!value.isValid())
        return false;
    const QSignalBlocker quiet(picker);
    picker->setDateTime(value);
    return true;
}

void NotifyChange(QDateTimeEdit* picker, const QDateTime& value)
{
    NMDATETIMECHANGE change;
    change.nmhdr.code = DTN_DATETIMECHANGE;
    const QDate date = value.date();
    const QTime time = value.time();
    change.st = SYSTEMTIME{WORD(date.year()), WORD(date.month()), WORD(date.dayOfWeek() % 7), WORD(date.day()),
                           WORD(time.hour()), WORD(time.minute()), WORD(time.second()), WORD(time.msec())};
    afx::NotifyParent(picker, change.nmhdr);
}

QWidget* CreatePicker(const afx::ControlSpec& spec, QWidget* parent)
{
    const QDateTime now = QDateTime::currentDateTime();
    auto* picker = new QDateTimeEdit(QDateTime(now.date(), QTime(now.time().hour(), now.time().minute())), parent);
    picker->setLocale(QLocale(QLocale::French, QLocale::France));
    picker->setDisplayFormat(StyleFormat(spec.style));
    picker->setCalendarPopup(!(spec.style & DTS_UPDOWN));
    QObject::connect(picker, &QDateTimeEdit::dateTimeChanged, picker,
                     [picker](const QDateTime& value) { NotifyChange(picker, value); });
    return picker;
}

} // namespace

void afx::detail::RegisterDateTimeCtrl()
{
    RegisterWindowClass({QStringLiteral("SysDateTimePick32"), CreatePicker, nullptr, NewWrapper<CDateTimeCtrl>,
                         nullptr, nullptr});
}

BOOL CDateTimeCtrl::SetFormat(const CString& pstrFormat)
{
    QDateTimeEdit* picker = Picker(m_hWnd);
    if (!picker)
        return FALSE;
    // A new format must not move the value, which Qt may clamp while it re-reads the text.
    const QDateTime value = picker->dateTime();
    const QSignalBlocker quiet(picker);
    picker->setDisplayFormat(pstrFormat.IsEmpty() ? StyleFormat(GetStyle()) : QtFormat(pstrFormat));
    picker->setDateTime(value);
    return TRUE;
}

DWORD CDateTimeCtrl::GetTime(CTime& timeDest) const
{
    QDateTimeEdit* picker = Picker(m_hWnd);
    if (!picker)
        return GDT_ERROR;
    timeDest = ReadTime(picker);
    return GDT_VALID;
}

BOOL CDateTimeCtrl::SetTime(const CTime& timeNew)
{
    QDateTimeEdit* picker = Picker(m_hWnd);
    return picker && WriteTime(picker, timeNew);
}

void DDX_DateTimeCtrl(CDataExchange* pDX, int nIDC, CTime& value)
{
    QDateTimeEdit* picker = Picker(pDX->PrepareCtrl(nIDC));
    if (!picker) {
        qWarning("afx: DDX_DateTimeCtrl: control %d is no date-and-time picker", nIDC);
        return;
    }
    if (pDX->m_bSaveAndValidate)
        value = ReadTime(picker);
    else
        WriteTime(picker, value);
}
