#pragma once
// The machine: the store, the registers, the keypad and the execution timer, and every command
// the window offers on them. The window owns one Machine and calls one method per event; all
// output goes through the MachineView. Failures are thrown (errors.h) and leave done what was done.

#include <cstdint>
#include <string>

#include "execution_timer.h"
#include "keypad.h"
#include "machine_view.h"
#include "registers.h"
#include "store.h"

namespace tobric {

class Machine {
public:
    Machine(MachineView& view, ExecutionTimer& timer);
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    Store& store() { return m_store; }
    const Store& store() const { return m_store; }
    Registers& registers() { return m_registers; }
    const Registers& registers() const { return m_registers; }
    const Keypad& keypad() const { return m_keypad; }
    ExecutionTimer& timer() { return m_timer; }

    // The execution step: obeys the one instruction the program counter names.
    void TimerTimer();

    // The number held in a mailbox: everything from position 5 of its line, converted. A line of
    // four characters or fewer ("HLT", "IN") holds 0.
    std::int32_t MailboxValue(std::uint16_t address) const;
    // Writes a mailbox line and rebuilds the display.
    void StoreMailbox(std::uint16_t address, std::string text);

    // Run control.
    void Run();
    void Step();
    void HaltOrContinue();
    void Reset();
    void ChangeSpeed(int position);

    // Program files, through the view's file choice.
    void Load();
    void Save();

    // The calculator keypad on the accumulator.
    void PressDigit(int digit) { m_keypad.PressDigit(digit, m_view); }
    void PressPlus() { m_keypad.PressPlus(m_registers.accumulator); }
    void PressMinus() { m_keypad.PressMinus(m_registers.accumulator); }
    void PressEquals() { m_keypad.PressEquals(m_registers.accumulator, m_view); }
    void PressClear() { m_keypad.PressClear(m_registers.accumulator, m_view); }
    void PressClearEntry() { m_keypad.PressClearEntry(m_registers.accumulator, m_view); }

private:
    void AskInBasket();
    bool RefuseWithoutProgram();

    MachineView& m_view;
    ExecutionTimer& m_timer;
    Store m_store;
    Registers m_registers;
    Keypad m_keypad;
};

inline constexpr const char* kNoProgramNotice = "There is no program loaded";
inline constexpr const char* kHaltedNotice = "Program Halted";
inline constexpr const char* kResetNotice = "Program Reset!";

}  // namespace tobric
