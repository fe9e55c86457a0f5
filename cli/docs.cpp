#include "docs.h"

#include "calculators/registry.h"
#include "cli/options.h"

#include <sstream>
#include <string>

using subprogram::Calculator;
using subprogram::Choice;
using subprogram::Field;
using subprogram::Result;
using subprogram::Variant;

namespace {

// Text for roff: backslashes and hyphens escaped, no line that starts with a control character.
std::string roff(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else {
            out += c;
        }
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) {
        out.insert(0, "\\&");
    }
    return out;
}

// The variants a subcommand calculates, as its option offers them: "--mode coulomb|at-rest".
std::string variantChoice(const Calculator& c) {
    std::string names;
    for (const Variant& v : c.variants) {
        if (v.refusal.empty() && v.flag.empty()) {
            names += (names.empty() ? "" : "|") + std::string(v.name);
        }
    }
    std::string text;
    if (!names.empty() && !c.variantOption.empty()) {
        text = std::string(c.variantOption) + " " + names;
    }
    for (const Variant& v : c.variants) {
        if (!v.flag.empty()) {
            text += (text.empty() ? "" : ", ") + std::string(v.flag);
        }
    }
    return text;
}

} // namespace

std::string manualPage(const std::string& date) {
    std::ostringstream m;
    m << ".TH SLOPECALC 1 \"" << date << "\" \"slope-support " << kSlopecalcVersion
      << "\" \"User Commands\"\n"
      << ".SH NAME\nslopecalc \\- slope support calculations without a window\n"
      << ".SH SYNOPSIS\n"
      << ".B slopecalc\n.I SUBCOMMAND\n[\\fIOPTIONS\\fR] [\\fINAME\\fB=\\fITEXT\\fR ...]\n.br\n"
      << ".B slopecalc\n.I SUBCOMMAND\n.B \\-\\-csv\n.IR FILE | \\-\n.br\n"
      << ".B slopecalc \\-\\-input\n.I FILE.slope\n[\\fIOPTIONS\\fR] [\\fINAME\\fB=\\fITEXT\\fR "
         "...]\n"
      << ".br\n.B slopecalc\n[\\fISUBCOMMAND\\fR]\n.B \\-\\-help\n.br\n"
      << ".B slopecalc \\-\\-version\n"
      << ".SH DESCRIPTION\n"
      << "slopecalc runs the calculations of the slope support program\n"
         ".BR slope\\-support (1)\n"
         "without a window: one calculation from parameters given as\n"
         ".IB NAME = TEXT\n"
         "(every parameter not given takes the window's default text), or one per row of a CSV "
         "file.\nIt reads the texts as the windows read them, in the windows' order, and writes "
         "each result as the window shows it, one\n.IB NAME = TEXT\nline per result.\n"
      << ".PP\n"
      << roff(kNumbersNote) << "\n"
      << ".SH OPTIONS\n";
    for (const OptionHelp& o : slopecalcOptions()) {
        m << ".TP\n.B " << roff(o.option) << "\n" << roff(o.text) << "\n";
    }
    m << ".SH SUBCOMMANDS\n";
    for (const Calculator* c : subprogram::calculators()) {
        m << ".SS " << roff(c->command) << "\n"
          << roff(c->english) << "\n.br\n"
          << roff(c->title) << "\n";
        if (const std::string choice = variantChoice(*c); !choice.empty()) {
            const Variant& byDefault = c->variant(c->defaultVariant);
            m << ".PP\nChoice of calculation: \\fB" << roff(choice) << "\\fR ("
              << (byDefault.refusal.empty() ? "default " + roff(byDefault.name) : "required")
              << ").\n";
        }
        m << ".PP\nParameters (name, meaning, unit, default; the window's caption):\n";
        for (const Field& f : c->fields) {
            m << ".TP\n.BI " << roff(f.name) << " = TEXT\n" << roff(f.english);
            if (!f.unit.empty()) {
                m << " [" << roff(f.unit) << "]";
            }
            m << ", default \"" << roff(f.defaultText) << "\"";
            m << ".\n.br\n" << roff(subprogram::fieldCaption(f)) << "\n";
        }
        m << ".PP\nResults: ";
        if (!c->resultsHelp.empty()) {
            std::string help = roff(c->resultsHelp);
            for (std::size_t at; (at = help.find('\n')) != std::string::npos;) {
                help.replace(at, 1, "; ");
            }
            m << help << ".";
        } else {
            for (const Result& r : c->results) {
                if (!r.hidden && !r.name.empty()) {
                    m << roff(r.name) << " ";
                }
            }
        }
        m << "\n";
        if (!c->verdicts.empty()) {
            m << ".br\nChecks (yes, no or not checked): ";
            if (!c->checksHelp.empty()) {
                m << roff(c->checksHelp) << " ";
            }
            for (const subprogram::Verdict& v :
                 c->checksHelp.empty() ? c->verdicts : std::span<const subprogram::Verdict>()) {
                m << roff(v.name) << " ";
            }
            m << "\n";
        }
    }
    m << ".SH EXIT STATUS\n";
    for (const StatusHelp& s : slopecalcStatuses()) {
        m << ".TP\n.B " << roff(s.status) << "\n" << roff(s.text) << "\n";
    }
    m << ".SH EXAMPLES\n"
         ".EX\nslopecalc earth\\-pressure H=6 phi=28\nslopecalc gravity\\-wall \\-\\-type shelf "
         "\\-\\-json\nslopecalc anchor \\-\\-csv anchors.csv > results.csv\n"
         "slopecalc beam n=5 upper=fixed \\-\\-report beam.html\n.EE\n"
         ".SH SEE ALSO\n.BR slope\\-support (1)\n";
    return m.str();
}

// Words for bash: quoted for a single-quoted string.
namespace {

std::string words(const std::vector<std::string>& list) {
    std::string out;
    for (const std::string& w : list) {
        out += (out.empty() ? "" : " ") + w;
    }
    return "'" + out + "'";
}

// Bash splits words at '=' (COMP_WORDBREAKS), so the line itself is split here, at blanks only:
// "upper=fi" is one word, and only what follows its '=' is replaced.
} // namespace

std::string completion() {
    std::vector<std::string> first;
    for (const Calculator* c : subprogram::calculators()) {
        first.emplace_back(c->command);
    }
    first.insert(first.end(), {"--help", "--version", "--input"});
    std::ostringstream b;
    b << "# bash completion for slopecalc, generated from its own tables\n"
         "_slopecalc() {\n"
         "    local line=${COMP_LINE:0:COMP_POINT} words cur prev command options names values\n"
         "    read -ra words <<<\"$line\"\n"
         "    cur=${line##*[[:space:]]}\n"
         "    [[ -z $cur ]] && words+=('')\n"
         "    prev=${words[${#words[@]}-2]} command=${words[1]}\n"
         "    case $prev in\n"
         "        --csv|--report) COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n"
         "        --input) COMPREPLY=($(compgen -f -X '!*.slope' -- \"$cur\") "
         "$(compgen -d -- \"$cur\")); return ;;\n"
         "    esac\n"
         "    if [[ ${#words[@]} -le 2 ]]; then\n"
         "        COMPREPLY=($(compgen -W "
      << words(first)
      << " -- \"$cur\"))\n"
         "        return\n"
         "    fi\n"
         "    case $command in\n";
    for (const Calculator* c : subprogram::calculators()) {
        std::vector<std::string> options = {"--help", "--json",   "--trace",
                                            "--csv",  "--report", "--"};
        std::vector<std::string> variants;
        for (const Variant& v : c->variants) {
            if (!v.flag.empty()) {
                options.emplace_back(v.flag);
            } else if (v.refusal.empty() && !c->variantOption.empty()) {
                variants.emplace_back(v.name);
            }
        }
        if (!variants.empty()) {
            options.emplace_back(c->variantOption);
        }
        std::vector<std::string> names, choices;
        for (const Field& f : c->fields) {
            names.push_back(std::string(f.name) + "=");
            for (const Choice& choice : f.choices) {
                choices.push_back(std::string(f.name) + "=" + std::string(choice.english));
                choices.push_back(std::string(f.name) + "=" + std::string(choice.text));
            }
            if (f.choices.empty()) { // a list to choose from: the grades, the span counts
                for (const std::string_view item : f.items) {
                    choices.push_back(std::string(f.name) + "=" + std::string(item));
                }
            }
        }
        b << "        " << c->command << ")\n";
        if (!variants.empty()) {
            b << "            [[ $prev == " << c->variantOption
              << " ]] && { COMPREPLY=($(compgen -W " << words(variants)
              << " -- \"$cur\")); return; }\n";
        }
        b << "            options=" << words(options) << " names=" << words(names)
          << " values=" << words(choices) << " ;;\n";
    }
    b << "        *) return ;;\n"
         "    esac\n"
         "    [[ \" ${words[*]:2:${#words[@]}-3} \" == *' -- '* ]] && options=''\n"
         "    if [[ $cur == -* && -n $options ]]; then\n"
         "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
         "    elif [[ $cur == *=* ]]; then\n"
         "        COMPREPLY=($(compgen -W \"$values\" -- \"$cur\"))\n"
         "        [[ $COMP_WORDBREAKS == *=* ]] && COMPREPLY=(\"${COMPREPLY[@]#*=}\")\n"
         "    else\n"
         "        COMPREPLY=($(compgen -W \"$names\" -- \"$cur\"))\n"
         "        [[ ${#COMPREPLY[@]} -gt 0 ]] && compopt -o nospace 2>/dev/null\n"
         "    fi\n"
         "    return 0\n"
         "}\n"
         "complete -F _slopecalc slopecalc\n";
    return b.str();
}
