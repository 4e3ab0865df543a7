' The gallery's index: the list of pages. Positions and sizes in twips.
Begin Form FrmGallery
   Caption         =   "控件库画廊"
   BorderStyle     =   1
   MaxButton       =   False
   ClientWidth     =   2700
   ClientHeight    =   6600
   StartUpPosition =   0
   Left            =   300
   Top             =   300
   BeginProperty Font
      Name            =   "微软雅黑"
      Size            =   9
      Charset         =   134
      Weight          =   400
   EndProperty
   Begin LabelW lblTitle
      Caption         =   "选择一个控件："
      Left            =   120
      Top             =   120
      Width           =   2460
      Height          =   255
   End
   Begin ListBoxW lstPages
      Left            =   120
      Top             =   420
      Width           =   2460
      Height          =   3600
      TabIndex        =   0
   End
   Begin LabelW lblDescription
      Caption         =   "每页展示一个控件的主要样式，右侧的开关可以实时修改它的属性，下方的日志列出它触发的事件。"
      WordWrap        =   True
      Left            =   120
      Top             =   4140
      Width           =   2460
      Height          =   2340
   End
End
