' Gallery page of ListBoxW: standard, check-box, option and multi-column lists, switches, the event log.
Begin Form PageListBoxW
   Caption         =   "ListBoxW - 控件库画廊"
   BorderStyle     =   1
   MaxButton       =   False
   ClientWidth     =   10200
   ClientHeight    =   6600
   StartUpPosition =   0
   BeginProperty Font
      Name            =   "微软雅黑"
      Size            =   9
      Charset         =   134
      Weight          =   400
   EndProperty
   Begin LabelW lblPlain
      Caption         =   "标准列表，可拖走："
      Left            =   120
      Top             =   150
      Width           =   1900
      Height          =   255
   End
   Begin ListBoxW lstPlain
      OLEDragMode     =   1
      Left            =   120
      Top             =   420
      Width           =   1900
      Height          =   2760
      TabIndex        =   0
   End
   Begin LabelW lblChecks
      Caption         =   "复选框样式："
      Left            =   2100
      Top             =   150
      Width           =   1900
      Height          =   255
   End
   Begin ListBoxW lstChecks
      Style           =   1
      Left            =   2100
      Top             =   420
      Width           =   1900
      Height          =   1500
      TabIndex        =   1
   End
   Begin LabelW lblOptions
      Caption         =   "单选按钮样式："
      Left            =   2100
      Top             =   2010
      Width           =   1900
      Height          =   255
   End
   Begin ListBoxW lstOptions
      Style           =   2
      Left            =   2100
      Top             =   2280
      Width           =   1900
      Height          =   900
      TabIndex        =   2
   End
   Begin LabelW lblColumns
      Caption         =   "多列，可放下："
      Left            =   4080
      Top             =   150
      Width           =   1900
      Height          =   255
   End
   Begin ListBoxW lstColumns
      MultiColumn     =   True
      OLEDropMode     =   1
      Left            =   4080
      Top             =   420
      Width           =   1980
      Height          =   2760
      TabIndex        =   3
   End
   Begin CommandButton cmdAddItem
      Caption         =   "AddItem"
      Left            =   120
      Top             =   3300
      Width           =   1900
      Height          =   345
      TabIndex        =   4
   End
   Begin CommandButton cmdRemoveItem
      Caption         =   "RemoveItem"
      Left            =   2100
      Top             =   3300
      Width           =   1900
      Height          =   345
      TabIndex        =   5
   End
   Begin CommandButton cmdClear
      Caption         =   "Clear"
      Left            =   4080
      Top             =   3300
      Width           =   1980
      Height          =   345
      TabIndex        =   6
   End
   Begin LabelW lblSwitches
      Caption         =   "属性（作用于每个列表）："
      Left            =   6240
      Top             =   150
      Width           =   3840
      Height          =   255
   End
   Begin CheckBox chkEnabled
      Caption         =   "Enabled"
      Value           =   1
      Left            =   6240
      Top             =   480
      Width           =   1800
      Height          =   285
      TabIndex        =   7
   End
   Begin CheckBox chkSorted
      Caption         =   "Sorted"
      Left            =   6240
      Top             =   810
      Width           =   1800
      Height          =   285
      TabIndex        =   8
   End
   Begin CheckBox chkRightToLeft
      Caption         =   "RightToLeft"
      Left            =   6240
      Top             =   1140
      Width           =   1800
      Height          =   285
      TabIndex        =   9
   End
   Begin CheckBox chkVisualStyles
      Caption         =   "VisualStyles"
      Value           =   1
      Left            =   6240
      Top             =   1470
      Width           =   1800
      Height          =   285
      TabIndex        =   10
   End
   Begin CheckBox chkMouseTrack
      Caption         =   "MouseTrack"
      Left            =   6240
      Top             =   1800
      Width           =   1800
      Height          =   285
      TabIndex        =   11
   End
   Begin CheckBox chkAllowSelection
      Caption         =   "AllowSelection"
      Value           =   1
      Left            =   6240
      Top             =   2130
      Width           =   1800
      Height          =   285
      TabIndex        =   12
   End
   Begin CommandButton cmdMultiSelect
      Left            =   8160
      Top             =   450
      Width           =   1920
      Height          =   345
      TabIndex        =   13
   End
   Begin CommandButton cmdBorderStyle
      Left            =   8160
      Top             =   870
      Width           =   1920
      Height          =   345
      TabIndex        =   14
   End
   Begin LabelW lblLog
      Caption         =   "事件日志："
      Left            =   120
      Top             =   3930
      Width           =   1800
      Height          =   255
   End
   Begin CommandButton cmdClearLog
      Caption         =   "清除日志"
      Left            =   8880
      Top             =   3870
      Width           =   1200
      Height          =   330
      TabIndex        =   16
   End
   Begin ListBoxW lstLog
      Left            =   120
      Top             =   4260
      Width           =   9960
      Height          =   2220
      TabIndex        =   15
   End
End
