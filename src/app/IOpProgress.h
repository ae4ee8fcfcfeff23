// Progress and cancel for every long operation; the base does nothing and never cancels.
#pragma once

#include <QString>
#include <cstdint>

class IOpProgress {
public:
    virtual ~IOpProgress() = default;

    // Main line; clears the second line.
    virtual void SetText(const QString& text) { (void)text; }
    // Main line from the string table, in the current language.
    virtual void SetTextId(int id) { (void)id; }
    virtual void SetSubText(const QString& text) { (void)text; }
    virtual void SetSubTextId(int id) { (void)id; }
    // Total amount of work; the position goes back to 0.
    virtual void SetRange(uint32_t total) { (void)total; }
    virtual void SetPos(uint32_t done) { (void)done; }
    virtual void Step(uint32_t delta) { (void)delta; }
    virtual void Show(bool show) { (void)show; }
    virtual bool IsCanceled() { return false; }
};
