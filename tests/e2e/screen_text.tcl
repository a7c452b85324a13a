# A Tk text window as wide as the screen, for the screen-text checks: it
# writes the screen position of its first character to the file named by
# its argument whenever the window moves, and puts a text on the clipboard
# as a user copying it would.
wm title . tapwise-text
wm geometry . [winfo screenwidth .]x200+0+0
text .t -font {Courier 16} -wrap none
pack .t -fill both -expand 1
.t insert end "Grand Total 42 EUR\nsecond line\n"
focus .t
clipboard clear
clipboard append "copied by the user"

proc writePosition {} {
    update idletasks
    set box [.t bbox 1.0]
    if {$box eq ""} return
    set x [expr {[winfo rootx .t] + [lindex $box 0] + 1}]
    set y [expr {[winfo rooty .t] + [lindex $box 1] + [lindex $box 3] / 2}]
    set out [open [lindex $::argv 0].new w]
    puts $out "$x $y"
    close $out
    file rename -force [lindex $::argv 0].new [lindex $::argv 0]
}
bind .t <Configure> writePosition
bind . <Map> writePosition
