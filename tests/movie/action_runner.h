#pragma once

// Runs one function of an action block as a player would, for the arithmetic the banner does on
// the player's measurements: numbers and undefined (not a number in arithmetic), members of the
// objects it is given, locals, comparisons, If and Math.max. Any other action throws, so that a
// function grown beyond this is never misread.
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <variant>

#include "action_checks.h"

namespace swf_reader {

struct Undefined {};
struct Object;
// A truth value is the number 1 or 0.
using Value = std::variant<Undefined, double, std::string, const Object*>;
struct Object {
    std::map<std::string, Value> members;
};

inline double ToNumber(const Value& value) {
    const auto* number = std::get_if<double>(&value);
    return number != nullptr ? *number : std::numeric_limits<double>::quiet_NaN();
}

inline bool ToBoolean(const Value& value) {
    const double number = ToNumber(value);
    return number != 0 && !std::isnan(number);
}

// The value `function` in `actions` returns, run with `globals` as the variables it finds.
inline Value RunFunction(const std::vector<Action>& actions, const std::vector<std::string>& pool,
                         const std::string& function, const std::map<std::string, Value>& globals) {
    std::size_t at = 0;
    while (at < actions.size() &&
           !(actions[at].code == 0x9B && Bytes(actions[at].operands).String() == function)) {
        ++at;
    }
    if (at == actions.size()) throw Malformed("no function " + function);
    std::map<std::string, Value> locals;
    std::vector<Value> stack;
    const auto pop = [&stack] {
        if (stack.empty()) throw Malformed("stack empty");
        Value value = stack.back();
        stack.pop_back();
        return value;
    };
    const auto jump = [&actions, &at](const Action& branch) {
        Bytes operand(branch.operands);
        const auto target = static_cast<std::ptrdiff_t>(branch.offset + 5) +
                            static_cast<std::int16_t>(operand.U16());
        at = static_cast<std::size_t>(
            std::ranges::find(actions, static_cast<std::size_t>(target), &Action::offset) -
            actions.begin());
    };
    for (++at; at < actions.size();) {
        const Action& action = actions[at++];
        switch (action.code) {
            case 0x96:  // Push
                for (const PushedValue& pushed : PushedValues(action.operands)) {
                    if (const auto* constant = std::get_if<PoolIndex>(&pushed)) {
                        stack.emplace_back(pool.at(constant->index));
                    } else if (const auto* number = std::get_if<std::int32_t>(&pushed)) {
                        stack.emplace_back(static_cast<double>(*number));
                    } else {
                        throw Malformed("a pushed value the runner does not know");
                    }
                }
                break;
            case 0x1C: {  // GetVariable
                const std::string name = std::get<std::string>(pop());
                const auto local = locals.find(name);
                const auto global = globals.find(name);
                stack.push_back(local != locals.end()     ? local->second
                                : global != globals.end() ? global->second
                                                          : Value{});
                break;
            }
            case 0x4E: {  // GetMember
                const std::string name = std::get<std::string>(pop());
                const Value object = pop();
                const auto* members = std::get_if<const Object*>(&object);
                const auto found = members ? (*members)->members.find(name)
                                           : std::map<std::string, Value>::const_iterator{};
                stack.push_back(members && found != (*members)->members.end() ? found->second
                                                                              : Value{});
                break;
            }
            case 0x3C:    // DefineLocal
            case 0x1D: {  // SetVariable (every name the functions set is a local)
                Value value = pop();
                locals[std::get<std::string>(pop())] = std::move(value);
                break;
            }
            case 0x0B:    // Subtract
            case 0x47:    // Add2, of numbers
            case 0x0C:    // Multiply
            case 0x0D:    // Divide
            case 0x48: {  // Less2: undefined when either side is not a number
                const double right = ToNumber(pop());
                const double left = ToNumber(pop());
                if (action.code == 0x0B) stack.emplace_back(left - right);
                if (action.code == 0x47) stack.emplace_back(left + right);
                if (action.code == 0x0C) stack.emplace_back(left * right);
                if (action.code == 0x0D) stack.emplace_back(left / right);
                if (action.code == 0x48) {
                    stack.push_back(std::isnan(left) || std::isnan(right)
                                        ? Value{}
                                        : Value{left < right ? 1.0 : 0.0});
                }
                break;
            }
            case 0x12:  // Not
                stack.emplace_back(ToBoolean(pop()) ? 0.0 : 1.0);
                break;
            case 0x9D:  // If
                if (ToBoolean(pop())) jump(action);
                break;
            case 0x52: {  // CallMethod: Math.max, which passes on a value that is not a number
                if (std::get<std::string>(pop()) != "max") throw Malformed("a call not of max");
                pop();  // Math
                const auto count = static_cast<std::size_t>(ToNumber(pop()));
                double result = -std::numeric_limits<double>::infinity();
                for (std::size_t i = 0; i < count; ++i) {
                    const double argument = ToNumber(pop());
                    result = std::isnan(argument) || std::isnan(result)
                                 ? std::numeric_limits<double>::quiet_NaN()
                                 : std::max(result, argument);
                }
                stack.emplace_back(result);
                break;
            }
            case 0x3E:  // Return
                return pop();
            default:
                throw Malformed("an action the runner does not know: " +
                                std::to_string(action.code));
        }
    }
    throw Malformed("the function never returns");
}

}  // namespace swf_reader
